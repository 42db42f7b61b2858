#pragma once

#include "import/ImportProtocol.h"

#include <QTextEdit>

namespace orvento::ui {

// The protocol of an import run in a read-only rich view (`reProtocol`): one paragraph per line
// in its style, following the protocol as the run adds, removes and clears lines.
class ProtocolView : public QTextEdit {
    Q_OBJECT
public:
    explicit ProtocolView(QWidget* parent = nullptr);
    ~ProtocolView() override;
    ProtocolView(const ProtocolView&) = delete;
    ProtocolView& operator=(const ProtocolView&) = delete;

    // Shows `protocol` and follows it until another one is shown or the view goes.
    void follow(import::ImportProtocol& protocol);

private:
    void clearLines();
    void showAll();
    void append(const import::ImportProtocol::Line& line);
    void removeLastLine();

    import::ImportProtocol* m_protocol = nullptr;
    int m_lineCount = 0; // the document's paragraphs that hold a line
};

} // namespace orvento::ui
