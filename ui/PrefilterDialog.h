#pragma once

#include "services/OfferPrefilter.h"

#include <QDialog>

#include <optional>

class QListWidget;

namespace orvento::ui {

// frmPrefiltrNabidky: which users' offers a user without "zobrazovat všechny nabídky" sees.
class PrefilterDialog : public QDialog {
    Q_OBJECT
public:
    explicit PrefilterDialog(const QString& list, QWidget* parent = nullptr);

    // The checked user numbers joined with ";".
    QString result() const { return m_chooser.result(); }
    QListWidget* entries() const { return m_entries; }

    // Shows the dialog; the edited list after "OK", nothing after "Storno".
    static std::optional<QString> ask(const QString& list, QWidget* parent = nullptr);

private:
    services::PrefilterChooser m_chooser;
    QListWidget* m_entries;
};

} // namespace orvento::ui
