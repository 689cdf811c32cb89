#include "app/language_library.h"

#include <elf.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdint>
#include <cstring>
#include <fstream>

#include "store/text_list.h"
#include "ui/base/strings.h"

namespace pw {
namespace {

constexpr char kFolder[] = "Language/";

std::string LibraryName(QLibrary& library) {
    const auto fn =
        reinterpret_cast<GetLanguageOfDllFn>(library.resolve(kLanguageNameExport));
    if (!fn) return std::string();
    char buffer[kLanguageNameBytes];
    std::memset(buffer, 0, sizeof buffer);
    fn(buffer, kLanguageNameBytes);
    buffer[kLanguageNameBytes - 1] = '\0';  // a library that fills it all is cut, not overrun
    return std::string(buffer);
}

// A library cut short (an interrupted copy) would bring the process down inside the loader,
// which maps the parts the headers promise: only a 64-bit ELF file that holds every part its
// headers name is loaded.
bool ElfFileIsWhole(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary | std::ios::ate);
    if (!in) return false;
    const auto size = static_cast<std::uint64_t>(in.tellg());
    Elf64_Ehdr header{};
    if (size < sizeof header || !in.seekg(0).read(reinterpret_cast<char*>(&header), sizeof header))
        return false;
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_phentsize != sizeof(Elf64_Phdr))
        return false;
    const auto within = [size](std::uint64_t offset, std::uint64_t length) {
        return offset <= size && length <= size - offset;
    };
    if (!within(header.e_phoff, std::uint64_t{header.e_phnum} * sizeof(Elf64_Phdr)) ||
        !within(header.e_shoff, std::uint64_t{header.e_shnum} * header.e_shentsize))
        return false;
    in.seekg(static_cast<std::streamoff>(header.e_phoff));
    for (int i = 0; i < header.e_phnum; ++i) {
        Elf64_Phdr part{};
        if (!in.read(reinterpret_cast<char*>(&part), sizeof part)) return false;
        if (!within(part.p_offset, part.p_filesz)) return false;
    }
    return true;
}

QString FullPath(const std::string& baseDir, const std::string& relative) {
    return QString::fromStdString(baseDir + relative);
}

}  // namespace

LanguageLibraries ScanLanguageLibraries(const std::string& baseDir) {
    LanguageLibraries found;
    const QDir dir(QString::fromStdString(baseDir + kFolder));
    if (!dir.exists()) return found;
    const QFileInfoList files =
        dir.entryInfoList({QStringLiteral("Purseward_*.so")}, QDir::Files,
                          QDir::Name);
    for (const QFileInfo& file : files) {
        if (!file.isFile()) continue;
        const std::string relative = kFolder + file.fileName().toStdString();
        QLibrary library(FullPath(baseDir, relative));
        if (!ElfFileIsWhole(library.fileName()) || !library.load()) continue;
        const std::string name = LibraryName(library);
        library.unload();
        // An empty name could never be told from "no language chosen"; such a library is
        // not offered.
        if (name.empty()) continue;
        found.names.push_back(name);
        found.paths.push_back(relative);
    }
    return found;
}

std::unique_ptr<QLibrary> LoadLanguageLibrary(const std::string& baseDir,
                                              const LanguageLibraries& libraries,
                                              const std::string& selected) {
    if (selected.empty()) return nullptr;
    const int index = FindInList(libraries.names, selected);
    if (index < 0 || static_cast<std::size_t>(index) >= libraries.paths.size()) return nullptr;
    auto library = std::make_unique<QLibrary>(
        FullPath(baseDir, libraries.paths[static_cast<std::size_t>(index)]));
    if (!ElfFileIsWhole(library->fileName()) || !library->load()) return nullptr;
    return library;
}

std::string LanguageTranslation(QLibrary& library) {
    const auto fn = reinterpret_cast<GetTranslationOfDllFn>(
        library.resolve(kLanguageTranslationExport));
    if (!fn) return std::string();
    int size = 0;
    const unsigned char* data = fn(&size);
    if (!data || size <= 0) return std::string();
    return std::string(reinterpret_cast<const char*>(data), static_cast<std::size_t>(size));
}

InstalledTranslation::InstalledTranslation(QLibrary* library) {
    if (!library) return;
    data_ = LanguageTranslation(*library);
    if (data_.empty()) return;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(reinterpret_cast<const uchar*>(data_.data()),
                          static_cast<int>(data_.size()))) {
        return;  // not a compiled translation: the built-in texts stay
    }
    translator_ = std::move(translator);
    if (QCoreApplication::instance()) {
        // Qt's own translation of its dialogs (the file dialog) when the system has one; the
        // library's, installed after it, is asked first.
        auto qt = std::make_unique<QTranslator>();
        if (!translator_->language().isEmpty() &&
            qt->load(QStringLiteral("qtbase_") + translator_->language(),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
            QCoreApplication::installTranslator(qt.get()))
            qtTranslator_ = std::move(qt);
        installed_ = QCoreApplication::installTranslator(translator_.get());
    }
    for (int id : StrIds()) {
        const QString text = translator_->translate(kStrContext, BuiltInStr(id).c_str());
        if (text.isEmpty()) continue;
        SetStr(id, text.toStdString());
        replaced_.push_back(id);
    }
}

InstalledTranslation::~InstalledTranslation() {
    for (int id : replaced_) SetStr(id, std::string());
    if (installed_ && QCoreApplication::instance())
        QCoreApplication::removeTranslator(translator_.get());
    if (qtTranslator_ && QCoreApplication::instance())
        QCoreApplication::removeTranslator(qtTranslator_.get());
}

}  // namespace pw
