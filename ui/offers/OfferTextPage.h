#pragma once

#include "offers/OfferRecords.h"

#include <QWidget>

#include <functional>

class QHBoxLayout;
class QTextCharFormat;
class QTextEdit;

namespace orvento::offers {
class OfferCardLogic;
}

namespace orvento::ui {

// A page of the offer card with one of its rich texts (before or after the items) and the
// buttons that format it. The text goes into the working copy as it changes.
class OfferTextPage : public QWidget {
    Q_OBJECT
public:
    OfferTextPage(offers::OfferCardLogic& logic, QString offers::OfferHeader::*text,
                  const QString& objectName, QWidget* parent);

    QTextEdit* editor() const { return m_editor; }
    // The text as the working copy has it.
    void showText();

private:
    QHBoxLayout* buildTools();
    void takeText();
    void formatText(const std::function<void(QTextCharFormat&)>& change);

    offers::OfferCardLogic& m_logic;
    QString offers::OfferHeader::*m_text;
    QTextEdit* m_editor;
    bool m_showing = false;
};

} // namespace orvento::ui
