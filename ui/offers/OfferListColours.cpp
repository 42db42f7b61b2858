#include "ui/offers/OfferListColours.h"

#include "offers/OfferListModel.h"
#include "offers/OfferStates.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

namespace orvento::ui {

namespace {

using offers::OfferListModel;
namespace OfferState = offers::OfferState;

const QColor kMarkedSelected(0, 0, 128);
const QColor kMarkedBackground(190, 190, 190);

QLabel* legendLine(const QString& text, const QColor& colour, QWidget* parent, bool bold = false,
                   bool struck = false) {
    auto* label = new QLabel(text, parent);
    // A narrow window wraps the legend rather than growing to fit it.
    label->setWordWrap(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    QFont font = label->font();
    font.setBold(bold);
    font.setStrikeOut(struck);
    label->setFont(font);
    return label;
}

// A sample in its look, then what it means, on one line of the legend.
QHBoxLayout* sampleLine(QLabel* sample, const QString& meaning, QWidget* parent) {
    auto* line = new QHBoxLayout;
    line->setSpacing(4);
    line->addWidget(sample);
    line->addWidget(legendLine(meaning, Qt::black, parent));
    line->addStretch();
    return line;
}

QColor stateColour(int state) {
    return OfferRowDelegate::textColour(state);
}

} // namespace

QColor OfferRowDelegate::textColour(int state) {
    switch (state) {
    case OfferState::InProgress:
        return Qt::blue;
    case OfferState::Correction:
        return Qt::magenta;
    case OfferState::Accepted:
        return QColor(0, 128, 0);
    case OfferState::NoResponse:
    case OfferState::Rejected:
    case OfferState::Cancelled:
        return Qt::red;
    default:
        return Qt::black;
    }
}

QColor OfferRowDelegate::selectedBackground(int state) {
    switch (state) {
    case OfferState::InProgress:
        return Qt::blue;
    case OfferState::Correction:
        return QColor(128, 0, 128);
    case OfferState::Accepted:
        return QColor(0, 128, 0);
    case OfferState::NoResponse:
    case OfferState::Rejected:
    case OfferState::Cancelled:
        return QColor(128, 0, 0);
    default:
        return {};
    }
}

void OfferRowDelegate::initStyleOption(QStyleOptionViewItem* option,
                                       const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    const int state = index.data(OfferListModel::StateRole).toInt();
    option->palette.setColor(QPalette::Text, textColour(state));
    if (const QColor selected = selectedBackground(state); selected.isValid()) {
        option->palette.setColor(QPalette::Highlight, selected);
        option->palette.setColor(QPalette::HighlightedText, Qt::white);
    }
    if (state == OfferState::Cancelled)
        option->font.setStrikeOut(true);
    if (index.data(OfferListModel::ExpiredRole).toBool())
        option->font.setBold(true);
    if (index.data(OfferListModel::MarkedRole).toBool()) {
        if (option->state & QStyle::State_Selected) {
            option->palette.setColor(QPalette::Highlight, kMarkedSelected);
            option->palette.setColor(QPalette::HighlightedText, Qt::white);
        } else {
            option->backgroundBrush = kMarkedBackground;
        }
    }
}

QWidget* makeOfferListLegend(QWidget* parent) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QStringLiteral("pnlLegenda"));
    panel->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setVerticalSpacing(0);
    auto* title = new QLabel(QStringLiteral("Legenda:"), panel);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    grid->addWidget(title, 0, 0);
    const QColor black(Qt::black);
    grid->addWidget(legendLine(QStringLiteral("modrá - rozpracovaná nabídka (zatím neodeslaná)"),
                               stateColour(OfferState::InProgress), panel),
                    1, 0);
    grid->addWidget(legendLine(QStringLiteral("černá - vytištěná/odeslaná nabídka (čekáme na "
                                              "vyjádření odběratele)"),
                               black, panel),
                    2, 0);
    grid->addWidget(legendLine(QStringLiteral("fialová - korekce (probíhá dodatečná úprava "
                                              "nabídky)"),
                               stateColour(OfferState::Correction), panel),
                    3, 0);
    grid->addWidget(legendLine(QStringLiteral("zelená - uzavřená nabídka (odběratel nabídku "
                                              "akceptoval)"),
                               stateColour(OfferState::Accepted), panel),
                    1, 1);
    grid->addWidget(legendLine(QStringLiteral("červená - zamítnutá nabídka nebo nabídka bez "
                                              "reakce"),
                               stateColour(OfferState::NoResponse), panel),
                    2, 1);
    grid->addLayout(sampleLine(legendLine(QStringLiteral("červená přeškrtnutá"),
                                          stateColour(OfferState::Cancelled), panel, false, true),
                               QStringLiteral("- stornovaná nabídka"), panel),
                    3, 1);
    grid->addLayout(sampleLine(legendLine(QStringLiteral("tučné písmo"), black, panel, true),
                               QStringLiteral("- prošlá (datum platnosti je nižší než dnešní)"),
                               panel),
                    1, 2);
    grid->addWidget(legendLine(QStringLiteral("záznamy se symbolem × ve sloupci [Z] označují "
                                              "zamknuté doklady"),
                               black, panel),
                    2, 2);
    return panel;
}

} // namespace orvento::ui
