#pragma once

#include "offers/OfferRecords.h"

#include <QWidget>

class QTextEdit;

namespace orvento::offers {
class OfferCardLogic;
}

namespace orvento::ui {

class RichTextEditor;

// A page of the offer card with one of its rich texts (before or after the items) in the
// rich-text editor. The text goes into the working copy as it changes.
class OfferTextPage : public QWidget {
    Q_OBJECT
public:
    OfferTextPage(offers::OfferCardLogic& logic, QString offers::OfferHeader::*text,
                  const QString& objectName, QWidget* parent);

    QTextEdit* editor() const;
    // The text as the working copy has it.
    void showText();

private:
    void takeText();

    offers::OfferCardLogic& m_logic;
    QString offers::OfferHeader::*m_text;
    RichTextEditor* m_rich;
};

} // namespace orvento::ui
