#pragma once

#include "addressbook/FirmCard.h"
#include "ui/DocumentLinkDialog.h"

namespace orvento::ui {

// The documents of a firm card, as the link dialog edits them.
class FirmDocumentLinks : public DocumentLinkHost {
public:
    explicit FirmDocumentLinks(addressbook::FirmCard& card)
        : m_card(card) {}
    std::size_t documentCount() const override { return m_card.documents().size(); }
    QString description(std::size_t index) const override {
        return m_card.documents()[index].Popis;
    }
    QString link(std::size_t index) const override { return m_card.documents()[index].File; }
    QString sharedFolder() const override { return m_card.sharedFolder(); }
    bool editable() const override { return m_card.editable(); }
    bool acceptLink(const QString& file, bool copy) const override {
        return m_card.acceptLink(file, copy);
    }
    void store(std::optional<std::size_t> index, const QString& popis, const QString& file,
               bool copy) override {
        addressbook::FirmDocument document =
            index ? m_card.documents()[*index] : addressbook::FirmDocument{};
        document.Popis = popis;
        document.File = file;
        if (!index)
            document.CopyFile = copy;
        m_card.storeDocument(index, document);
    }

private:
    addressbook::FirmCard& m_card;
};

} // namespace orvento::ui
