#include "ui/addressbook/AresVerificationDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvento::ui {

namespace {

using Field = addressbook::AresVerification::Field;

constexpr int kColumnMinimumWidth = 220;

QLabel* valueLabel(const QString& text, const QString& name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QString fieldName(Field field) {
    switch (field) {
    case Field::Name:
        return QStringLiteral("Nazev");
    case Field::Street:
        return QStringLiteral("Ulice");
    case Field::Psc:
        return QStringLiteral("Psc");
    case Field::Place:
        break;
    }
    return QStringLiteral("Misto");
}

void markDifferent(QLabel* label) {
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    label->setPalette(palette);
}

QLabel* boldLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace

AresVerificationDialog::AresVerificationDialog(const addressbook::AresVerification& verification,
                                               QWidget* parent)
    : QDialog(parent)
    , m_yes(nullptr)
    , m_no(nullptr) {
    setObjectName(QStringLiteral("frmAresOvereni"));
    setWindowTitle(addressbook::AresVerification::caption());

    auto* heading = boldLabel(verification.heading(), this);
    heading->setObjectName(QStringLiteral("lblNadpis"));
    auto* intro = new QLabel(
        QStringLiteral(
            "Z databáze ARES byly získány údaje odlišné od současného vyplnění adresní karty:"),
        this);
    intro->setWordWrap(true);

    auto* grid = new QGridLayout;
    grid->addWidget(boldLabel(QStringLiteral("Orvento"), this), 0, 1);
    grid->addWidget(boldLabel(QStringLiteral("Databáze ARES"), this), 0, 2);
    grid->setColumnMinimumWidth(1, kColumnMinimumWidth);
    grid->setColumnMinimumWidth(2, kColumnMinimumWidth);
    int row = 1;
    for (const Field field : addressbook::AresVerification::kFields) {
        grid->addWidget(new QLabel(addressbook::AresVerification::caption(field), this), row, 0);
        QLabel* own = valueLabel(verification.cardValue(field),
                                 QStringLiteral("lblKarta") + fieldName(field), this);
        QLabel* found = valueLabel(verification.registerValue(field),
                                   QStringLiteral("lblAres") + fieldName(field), this);
        if (verification.differs(field))
            markDifferent(found);
        grid->addWidget(own, row, 1);
        grid->addWidget(found, row, 2);
        m_card[field] = own;
        m_register[field] = found;
        ++row;
    }

    auto* question = new QLabel(
        QStringLiteral("Chcete adresní kartu aktualizovat výše uvedenými hodnotami?"), this);
    auto* box = new QDialogButtonBox(this);
    m_yes = box->addButton(QStringLiteral("Ano"), QDialogButtonBox::AcceptRole);
    m_yes->setObjectName(QStringLiteral("btnAno"));
    m_no = box->addButton(QStringLiteral("Ne"), QDialogButtonBox::RejectRole);
    m_no->setObjectName(QStringLiteral("btnNe"));
    m_yes->setDefault(true);
    m_yes->setAutoDefault(true);
    m_no->setAutoDefault(false);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(intro);
    layout->addLayout(grid);
    layout->addWidget(question);
    layout->addWidget(box);
    m_yes->setFocus();
}

bool AresVerificationDialog::ask(const addressbook::AresVerification& verification,
                                 QWidget* parent) {
    AresVerificationDialog dialog(verification, parent);
    return dialog.exec() == QDialog::Accepted;
}

QLabel* AresVerificationDialog::registerLabel(Field field) const {
    const auto it = m_register.find(field);
    return it == m_register.end() ? nullptr : it->second;
}

QLabel* AresVerificationDialog::cardLabel(Field field) const {
    const auto it = m_card.find(field);
    return it == m_card.end() ? nullptr : it->second;
}

} // namespace orvento::ui
