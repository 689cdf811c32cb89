#include "app/gui/notify.h"

#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

namespace pw {

QString LimitText(const QString& text, int limit) {
    if (text.size() <= limit) return text;
    int keep = limit - 3;
    // Never split a surrogate pair.
    if (keep > 0 && text.at(keep - 1).isHighSurrogate()) --keep;
    return text.left(keep) + QStringLiteral("...");
}

QString TabCaption(const QString& text) {
    if (text.isEmpty()) return QString();
    return QLatin1Char('[') + LimitText(text, kCaptionLimit - 2) + QLatin1Char(']');
}

SoundPlayer::SoundPlayer() = default;
SoundPlayer::~SoundPlayer() = default;

bool SoundPlayer::Play(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable()) return false;
    if (!effect_) effect_ = std::make_unique<QSoundEffect>();
    const QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
    if (effect_->source() != url) effect_->setSource(url);
    effect_->play();
    return true;
}

}  // namespace pw
