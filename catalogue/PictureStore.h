#pragma once

#include <QString>

#include <optional>

namespace orvento::core {
class UserInteraction;
}

namespace orvento::catalogue {

// The folder shared by all items of the agenda into which their pictures are copied; `Obrazek`
// names a file in it.
class PictureStore {
public:
    static constexpr int kNameLimit = 30;

    // The open agenda's store: the folder of its settings, else the default one.
    static PictureStore ofAgenda();
    explicit PictureStore(QString folder);

    const QString& folder() const { return m_folder; }
    QString pathOf(const QString& name) const;
    bool contains(const QString& name) const;

    // A file name that fits the limit: longer names keep their extension and lose the end of
    // the rest.
    static QString fittedName(const QString& fileName);
    // The filter of the picture dialog.
    static QString dialogFilter();
    // The text of the link "Úložiště obrázků...".
    QString description() const;

    // Copies a chosen file into the store and gives its name there; nothing (after the message)
    // when the folder cannot be made, the person keeps an existing file, or the copy fails. A
    // file chosen from the store itself is not copied onto itself. The store file is replaced
    // whole or not at all.
    std::optional<QString> store(const QString& source, core::UserInteraction& ui) const;

private:
    QString m_folder;
};

} // namespace orvento::catalogue
