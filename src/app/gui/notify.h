#pragma once
// Pieces of the user notification: the length limits of balloon and caption texts, and the
// notification sound.
#include <QString>
#include <memory>

class QSoundEffect;

namespace pw {

inline constexpr int kBalloonTextLimit = 255;
inline constexpr int kCaptionLimit = 63;

// text itself when it has at most limit characters, else its first limit - 3 characters
// followed by "...".
QString LimitText(const QString& text, int limit);

// The tab caption for an account text: "[text]", or empty for an empty text. The whole caption
// holds at most kCaptionLimit characters; a longer text is cut and ends in "..." inside the
// brackets.
QString TabCaption(const QString& text);

// Plays a WAV file without waiting for it. A missing file or no audio output: nothing.
class SoundPlayer {
public:
    SoundPlayer();
    ~SoundPlayer();
    // True when the file exists and playing was started.
    bool Play(const QString& path);

private:
    std::unique_ptr<QSoundEffect> effect_;
};

}  // namespace pw
