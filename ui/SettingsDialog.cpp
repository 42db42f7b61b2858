#include "ui/SettingsDialog.h"

#include "core/AppContext.h"
#include "core/UserInteraction.h"
#include "services/LogoPicture.h"
#include "services/PurchasePriceDisplay.h"
#include "ui/DialogButtons.h"
#include "ui/Help.h"
#include "ui/UpperCaseField.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QShortcut>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace orvento::ui {

namespace {

struct FirmFieldInfo {
    const char* objectName;
    const char* label;
};

const std::array<FirmFieldInfo, 12> kFirmFields = {{
    {"edtNazev", "Název"},
    {"edtUlice", "Ulice"},
    {"edtPsc", "PSČ"},
    {"edtMisto", "Místo"},
    {"edtStat", "Stát"},
    {"edtIco", "IČO"},
    {"edtDic", "DIČ"},
    {"edtTelefon", "Telefon"},
    {"edtFax", "Fax"},
    {"edtMobil", "Mobil"},
    {"edtEmail", "E-mail"},
    {"edtInternet", "Internet"},
}};

template <typename T> T* named(T* widget, const char* objectName) {
    widget->setObjectName(QString::fromLatin1(objectName));
    return widget;
}

} // namespace

SettingsDialog::SettingsDialog(services::SettingsDialogLogic& logic, core::AppContext& context,
                               QWidget* parent)
    : QDialog(parent)
    , m_logic(logic)
    , m_context(context) {
    setObjectName(QStringLiteral("frmNastaveni"));
    setWindowTitle(QStringLiteral("Nastavení"));

    m_tabs = named(new QTabWidget(this), "pcNastaveni");
    const int firm = m_tabs->addTab(buildFirmPage(), QStringLiteral("Údaje o firmě"));
    const int global = m_tabs->addTab(buildGlobalPage(), QStringLiteral("Globální nastavení"));
    const int profile =
        m_tabs->addTab(buildProfilePage(), QStringLiteral("Nastavení profilu uživatele"));
    using Page = services::SettingsDialogLogic::Page;
    m_tabs->setTabVisible(firm, m_logic.pageVisible(Page::Firma));
    m_tabs->setTabVisible(global, m_logic.pageVisible(Page::Globalni));
    m_tabs->setTabVisible(profile, m_logic.pageVisible(Page::Profil));
    for (int i = 0; i < m_tabs->count(); ++i) {
        if (m_tabs->isTabVisible(i)) {
            m_tabs->setCurrentIndex(i);
            break;
        }
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(okCancelButtons(this));

    resize(560, sizeHint().height());
    installHelpKey(this, QStringLiteral("pgNastaveni.htm"));
    auto* purchase = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Q")), this);
    connect(purchase, &QShortcut::activated, this,
            [this] { services::togglePurchasePriceDisplay(m_context); });
    showValues();
}

QWidget* SettingsDialog::buildFirmPage() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout;
    for (size_t i = 0; i < kFirmFields.size(); ++i) {
        auto* edit = named(new QLineEdit(page), kFirmFields[i].objectName);
        edit->setMaxLength(core::firmFieldWidth(static_cast<int>(i) + 1));
        form->addRow(QString::fromUtf8(kFirmFields[i].label), edit);
        m_firm[i] = edit;
    }

    auto* logoBox = new QGroupBox(QStringLiteral("Logo"), page);
    m_logo = named(new QLabel(logoBox), "imgLogo");
    m_logo->setFixedSize(180, 120);
    m_logo->setAlignment(Qt::AlignCenter);
    m_logo->setFrameShape(QFrame::StyledPanel);
    auto* logoMenu = new QMenu(logoBox);
    QAction* load = logoMenu->addAction(QStringLiteral("Načíst ze souboru"));
    load->setObjectName(QStringLiteral("actLogoNacist"));
    QAction* clear = logoMenu->addAction(QStringLiteral("Smazat"));
    clear->setObjectName(QStringLiteral("actLogoSmazat"));
    connect(load, &QAction::triggered, this, [this] {
        if (m_logic.loadLogoFromFile())
            showLogo();
    });
    connect(clear, &QAction::triggered, this, [this] {
        m_logic.clearLogo();
        showLogo();
    });
    auto* logoButton = named(new QToolButton(logoBox), "btnLogo");
    logoButton->setText(QStringLiteral("Logo (obrázek)"));
    logoButton->setMenu(logoMenu);
    logoButton->setPopupMode(QToolButton::InstantPopup);
    auto* hint = new QLabel(
        QStringLiteral("Pokud chcete tisknout Vaše grafické logo, použijte obrázek ve formátu BMP "
                       "s poměrem stran 3:2 (více informací získáte v nápovědě)."),
        logoBox);
    hint->setWordWrap(true);
    auto* logoLayout = new QGridLayout(logoBox);
    logoLayout->addWidget(m_logo, 0, 0, 2, 1);
    logoLayout->addWidget(logoButton, 0, 1, Qt::AlignLeft | Qt::AlignTop);
    logoLayout->addWidget(hint, 1, 1);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(form);
    layout->addWidget(logoBox);
    layout->addStretch();
    return page;
}

QWidget* SettingsDialog::buildGlobalPage() {
    auto* page = new QWidget(this);

    auto* seriesBox = new QGroupBox(QStringLiteral("Číselná řada pro nabídky"), page);
    m_prefix = named(new QLineEdit(seriesBox), "edtPrefix");
    m_prefix->setMaxLength(core::OfferSeries::kPrefixWidth);
    keepUpperCase(m_prefix);
    m_cislo = named(new QSpinBox(seriesBox), "edtCislo");
    m_cislo->setRange(core::OfferSeries::kMinNumber, core::OfferSeries::kMaxNumber);
    m_pocetMist = named(new QSpinBox(seriesBox), "edtPocetMist");
    m_pocetMist->setRange(core::OfferSeries::kMinDigits, core::OfferSeries::kMaxDigits);
    auto* series = new QFormLayout(seriesBox);
    series->addRow(QStringLiteral("Prefix"), m_prefix);
    series->addRow(QStringLiteral("Příští číslo"), m_cislo);
    series->addRow(QStringLiteral("Počet míst"), m_pocetMist);

    auto* vatBox = new QGroupBox(QStringLiteral("Sazby DPH"), page);
    m_sazbaZakladni = named(new QDoubleSpinBox(vatBox), "curZakladniSazba");
    m_sazbaSnizena = named(new QDoubleSpinBox(vatBox), "curSnizenaSazba");
    for (QDoubleSpinBox* rate : {m_sazbaZakladni, m_sazbaSnizena}) {
        rate->setDecimals(2);
        rate->setRange(0.0, 100.0);
        rate->setSuffix(QStringLiteral(" %"));
    }
    auto* vat = new QFormLayout(vatBox);
    vat->addRow(QStringLiteral("Základní sazba"), m_sazbaZakladni);
    vat->addRow(QStringLiteral("Snížená sazba"), m_sazbaSnizena);

    auto* roundBox = new QGroupBox(QStringLiteral("Zaokrouhlení nabídek"), page);
    m_zaokrouhlit = named(new QCheckBox(QStringLiteral("zaokrouhlit cenu celkem"), roundBox),
                          "chckZaokrouhlit");
    (new QVBoxLayout(roundBox))->addWidget(m_zaokrouhlit);

    auto* picturesBox = new QGroupBox(QStringLiteral("Obrázky"), page);
    m_obrazky = named(new QLineEdit(picturesBox), "edtObrazky");
    m_obrazky->setReadOnly(true);
    m_obrazkyBrowse = named(new QToolButton(picturesBox), "btnObrazky");
    m_obrazkyBrowse->setText(QStringLiteral("..."));
    m_obrazkyBrowse->setToolTip(QStringLiteral("Vyberte složku"));
    m_obrazkyBrowse->setEnabled(false);
    connect(m_obrazkyBrowse, &QToolButton::clicked, this, [this] {
        m_logic.setPicturesFolder(m_obrazky->text());
        if (m_logic.browsePicturesFolder())
            m_obrazky->setText(m_logic.picturesFolderShown());
    });
    m_zmenit = named(new QLabel(QStringLiteral("<a href=\"zmenit\">Změnit</a>"), picturesBox),
                     "lblZmenit");
    m_zmenit->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(m_zmenit, &QLabel::linkActivated, this, [this] { unlockPicturesFolder(); });
    auto* pictures = new QGridLayout(picturesBox);
    pictures->addWidget(new QLabel(QStringLiteral("Úložiště obrázků"), picturesBox), 0, 0);
    pictures->addWidget(m_obrazky, 0, 1);
    pictures->addWidget(m_obrazkyBrowse, 0, 2);
    pictures->addWidget(m_zmenit, 0, 3);

    m_mena = named(new QLineEdit(page), "edtMena");
    auto* currency = new QFormLayout;
    currency->addRow(QStringLiteral("Symbol domácí měny"), m_mena);

    auto* historyBox = new QGroupBox(QStringLiteral("Logování změn nabídek (historie akcí)"), page);
    m_historie = named(new QComboBox(historyBox), "cbxHistorie");
    m_historie->addItems(
        {QStringLiteral("Vypnuto"), QStringLiteral("Základní"), QStringLiteral("Podrobné")});
    (new QVBoxLayout(historyBox))->addWidget(m_historie);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(seriesBox);
    layout->addWidget(vatBox);
    layout->addWidget(roundBox);
    layout->addWidget(picturesBox);
    layout->addLayout(currency);
    layout->addWidget(historyBox);
    layout->addStretch();
    return page;
}

QWidget* SettingsDialog::buildProfilePage() {
    auto* page = new QWidget(this);
    m_tisk = named(new QCheckBox(QStringLiteral("po vytvoření nové nabídky automaticky nabídnout "
                                                "tisk"),
                                 page),
                   "chckTisk");
    m_sablona =
        named(new QCheckBox(QStringLiteral("pro novou nabídku automaticky použít šablonu"), page),
              "chckSablona");
    m_sablonaZkratka = named(new QLineEdit(page), "edtSablona");
    m_sablonaZkratka->setReadOnly(true);
    m_sablonaVyber = named(new QToolButton(page), "btnSablona");
    m_sablonaVyber->setText(QStringLiteral("..."));
    m_sablonaVyber->setToolTip(QStringLiteral("Výběr šablony"));
    connect(m_sablonaVyber, &QToolButton::clicked, this, [this] {
        if (const auto chosen = m_logic.chooseTemplate())
            m_sablonaZkratka->setText(*chosen);
    });
    connect(m_sablona, &QCheckBox::toggled, this, [this](bool on) {
        m_sablonaZkratka->setEnabled(on);
        m_sablonaVyber->setEnabled(on && m_logic.templateChooserAvailable());
    });
    m_dotaz = named(new QCheckBox(QStringLiteral("dotázat se při opuštění nabídky bez uložení "
                                                 "(doporučeno)"),
                                  page),
                    "chckDotaz");
    m_hromadne = named(new QCheckBox(QStringLiteral("přidávat ozn. ceník. položky hromadně (bez "
                                                    "dotazu na počet mj)"),
                                     page),
                       "chckHromadne");
    m_nezobrazovat = named(new QCheckBox(QStringLiteral("standardně v programu nezobrazovat zisk "
                                                        "a nákupní cenu"),
                                         page),
                           "chckNezobrazovatNC");

    auto* templateRow = new QHBoxLayout;
    templateRow->addSpacing(20);
    templateRow->addWidget(m_sablonaZkratka);
    templateRow->addWidget(m_sablonaVyber);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(m_tisk);
    layout->addWidget(m_sablona);
    layout->addLayout(templateRow);
    layout->addWidget(m_dotaz);
    layout->addWidget(m_hromadne);
    layout->addWidget(m_nezobrazovat);
    layout->addStretch();
    return page;
}

void SettingsDialog::showValues() {
    const core::AgendaSettings& v = m_logic.values();
    for (size_t i = 0; i < m_firm.size(); ++i)
        m_firm[i]->setText(*v.firmField(static_cast<int>(i) + 1));
    showLogo();
    const core::OfferSeries& s = m_logic.series();
    m_prefix->setText(s.prefixOzn.toUpper());
    m_cislo->setValue(s.cislo);
    m_pocetMist->setValue(s.pocetMist);
    m_sazbaZakladni->setValue(v.sazbaDphZakladni);
    m_sazbaSnizena->setValue(v.sazbaDphSnizena);
    m_zaokrouhlit->setChecked(v.zaokrouhlitCelkem != 0);
    m_obrazky->setText(m_logic.picturesFolderShown());
    m_mena->setText(v.symbolMeny);
    m_historie->setCurrentIndex(v.urovenHistorie);
    m_tisk->setChecked(v.profil.tiskPoNoveNabidce);
    m_sablona->setChecked(!v.profil.vychoziSablona.isEmpty());
    m_sablonaZkratka->setText(v.profil.vychoziSablona);
    m_sablonaZkratka->setEnabled(m_sablona->isChecked());
    m_sablonaVyber->setEnabled(m_sablona->isChecked() && m_logic.templateChooserAvailable());
    m_dotaz->setChecked(v.profil.dotazPriOpusteni);
    m_hromadne->setChecked(v.profil.hromadneVkladani);
    m_nezobrazovat->setChecked(v.profil.nezobrazovatNakupniCeny);
}

// Only the pages the user sees are taken over; the others keep the values that were loaded.
void SettingsDialog::takeValues() {
    using Page = services::SettingsDialogLogic::Page;
    core::AgendaSettings& v = m_logic.values();
    if (m_logic.pageVisible(Page::Firma)) {
        for (size_t i = 0; i < m_firm.size(); ++i)
            *v.firmField(static_cast<int>(i) + 1) = m_firm[i]->text();
    }
    if (m_logic.pageVisible(Page::Globalni)) {
        core::OfferSeries& s = m_logic.series();
        s.prefixOzn = m_prefix->text();
        s.cislo = m_cislo->value();
        s.pocetMist = m_pocetMist->value();
        v.sazbaDphZakladni = m_sazbaZakladni->value();
        v.sazbaDphSnizena = m_sazbaSnizena->value();
        v.zaokrouhlitCelkem = m_zaokrouhlit->isChecked() ? 1 : 0;
        if (m_logic.picturesFolderUnlocked())
            m_logic.setPicturesFolder(m_obrazky->text());
        v.symbolMeny = m_mena->text();
        v.urovenHistorie = m_historie->currentIndex();
    }
    if (m_logic.pageVisible(Page::Profil)) {
        v.profil.tiskPoNoveNabidce = m_tisk->isChecked();
        v.profil.vychoziSablona = m_sablona->isChecked() ? m_sablonaZkratka->text() : QString();
        v.profil.dotazPriOpusteni = m_dotaz->isChecked();
        v.profil.hromadneVkladani = m_hromadne->isChecked();
        v.profil.nezobrazovatNakupniCeny = m_nezobrazovat->isChecked();
    }
}

void SettingsDialog::showLogo() {
    const QImage image = services::logoImage(m_logic.values().logo);
    if (image.isNull()) {
        m_logo->setPixmap(QPixmap());
        m_logo->setText(QStringLiteral("(bez loga)"));
        return;
    }
    m_logo->setPixmap(QPixmap::fromImage(image).scaled(m_logo->size(), Qt::KeepAspectRatio,
                                                       Qt::SmoothTransformation));
}

void SettingsDialog::unlockPicturesFolder() {
    if (!m_logic.unlockPicturesFolder())
        return;
    m_obrazky->setReadOnly(false);
    m_obrazky->setText(m_logic.picturesFolderShown());
    m_obrazkyBrowse->setEnabled(true);
    m_zmenit->setEnabled(false);
}

void SettingsDialog::accept() {
    takeValues();
    if (m_logic.accept())
        QDialog::accept();
}

bool SettingsDialog::run(core::AppContext& context, QWidget* parent) {
    services::SettingsDialogLogic logic(context);
    if (!logic.mayOpen() || !logic.load())
        return false;
    SettingsDialog dialog(logic, context, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace orvento::ui
