#include "ui/output/MailSettingsDialog.h"

#include "core/AppContext.h"
#include "core/ProgramState.h"
#include "core/UserInteraction.h"
#include "output/MailPasswords.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace orvento::ui {

namespace {

constexpr int kLastPort = 65535;
constexpr int kLongestTimeout = 3600;

using Config = output::MailConfig;

} // namespace

MailSettingsDialog::MailSettingsDialog(core::AppContext& context, output::MailSettingsLogic& logic,
                                       QWidget* parent)
    : QDialog(parent)
    , m_context(context)
    , m_logic(logic) {
    setObjectName(QStringLiteral("frmNastaveniEmailu"));
    setWindowTitle(output::MailSettingsLogic::caption());
    const Config& c = m_logic.config;

    m_method = new QComboBox(this);
    m_method->setObjectName(QStringLiteral("cbxZpusob"));
    m_method->addItems(output::MailSettingsLogic::methodNames());
    m_method->setCurrentIndex(static_cast<int>(c.method));
    m_command = new QLineEdit(c.command, this);
    m_command->setObjectName(QStringLiteral("edtPrikaz"));
    m_command->setPlaceholderText(QStringLiteral("program --to %TO% --attach %ATTACHMENTS%"));
    m_server = new QLineEdit(c.server, this);
    m_server->setObjectName(QStringLiteral("edtServer"));
    m_port = new QSpinBox(this);
    m_port->setObjectName(QStringLiteral("edtPort"));
    m_port->setRange(1, kLastPort);
    m_port->setValue(c.port);
    m_security = new QComboBox(this);
    m_security->setObjectName(QStringLiteral("cbxZabezpeceni"));
    m_security->addItems(output::MailSettingsLogic::securityNames());
    m_security->setCurrentIndex(static_cast<int>(c.security));
    m_user = new QLineEdit(c.user, this);
    m_user->setObjectName(QStringLiteral("edtUzivatel"));
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("edtHeslo"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setPlaceholderText(QStringLiteral("(uloženo v úložišti hesel)"));
    m_caFile = new QLineEdit(c.caFile, this);
    m_caFile->setObjectName(QStringLiteral("edtCertifikat"));
    m_browse = new QPushButton(QStringLiteral("..."), this);
    m_browse->setAutoDefault(false);
    connect(m_browse, &QPushButton::clicked, this, [this] {
        if (auto file = m_context.ui().chooseOpenFile(
                QStringLiteral("Certifikát certifikační autority"), QDir::homePath(),
                QStringLiteral("Certifikáty (*.pem *.crt);;Všechny soubory (*)")))
            m_caFile->setText(*file);
    });
    m_timeout = new QSpinBox(this);
    m_timeout->setObjectName(QStringLiteral("edtCasovyLimit"));
    m_timeout->setRange(1, kLongestTimeout);
    m_timeout->setSuffix(QStringLiteral(" s"));
    m_timeout->setValue(c.timeoutSeconds);

    auto* caRow = new QHBoxLayout;
    caRow->addWidget(m_caFile, 1);
    caRow->addWidget(m_browse);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Způsob odesílání"), m_method);
    fields->addRow(QStringLiteral("Příkaz"), m_command);
    fields->addRow(QStringLiteral("Poštovní server"), m_server);
    fields->addRow(QStringLiteral("Port"), m_port);
    fields->addRow(QStringLiteral("Zabezpečení"), m_security);
    fields->addRow(QStringLiteral("Uživatel"), m_user);
    fields->addRow(QStringLiteral("Heslo"), m_password);
    fields->addRow(QStringLiteral("Certifikát CA"), caRow);
    fields->addRow(QStringLiteral("Časový limit"), m_timeout);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("Storno"), QDialogButtonBox::RejectRole)
        ->setAutoDefault(false);
    QPushButton* test =
        buttons->addButton(QStringLiteral("Odeslat zkušební e-mail"), QDialogButtonBox::ActionRole);
    test->setObjectName(QStringLiteral("btnZkusebni"));
    test->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &MailSettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &MailSettingsDialog::reject);
    connect(test, &QPushButton::clicked, this, [this] {
        take();
        m_logic.testSend();
    });
    connect(m_method, &QComboBox::currentIndexChanged, this, &MailSettingsDialog::showMethod);
    connect(m_security, &QComboBox::currentIndexChanged, this, &MailSettingsDialog::showMethod);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);
    showMethod();
}

void MailSettingsDialog::showMethod() {
    const auto method = static_cast<Config::Method>(m_method->currentIndex());
    const bool smtp = method == Config::Method::Smtp;
    const bool secure =
        static_cast<Config::Security>(m_security->currentIndex()) != Config::Security::None;
    m_command->setEnabled(method == Config::Method::Command);
    for (QWidget* w : {static_cast<QWidget*>(m_server), static_cast<QWidget*>(m_port),
                       static_cast<QWidget*>(m_security), static_cast<QWidget*>(m_timeout)})
        w->setEnabled(smtp);
    // Without encryption no login is sent, so neither user nor password is asked for.
    for (QWidget* w : {static_cast<QWidget*>(m_user), static_cast<QWidget*>(m_password),
                       static_cast<QWidget*>(m_caFile), static_cast<QWidget*>(m_browse)})
        w->setEnabled(smtp && secure);
}

void MailSettingsDialog::take() {
    Config& c = m_logic.config;
    c.method = static_cast<Config::Method>(m_method->currentIndex());
    c.command = m_command->text();
    c.server = m_server->text();
    c.port = m_port->value();
    c.security = static_cast<Config::Security>(m_security->currentIndex());
    c.user = m_user->text();
    c.caFile = m_caFile->text();
    c.timeoutSeconds = m_timeout->value();
    m_logic.passwordTyped = !m_password->text().isEmpty();
    m_logic.password = m_password->text();
}

void MailSettingsDialog::accept() {
    take();
    if (m_logic.accept())
        QDialog::accept();
}

bool MailSettingsDialog::open(core::AppContext& context, QWidget* parent) {
    core::ProgramState& state = core::programState();
    if (!output::MailSettingsLogic::mayOpen(state.user, context.ui()))
        return false;
    const output::ReportContext reportContext{state.settings, state.user, state.db->agenda,
                                              &state.db->global};
    output::MailPasswords passwords(context.secrets());
    output::MailSettingsLogic logic(reportContext, context.ui(), passwords, state.folders.iniFile);
    MailSettingsDialog dialog(context, logic, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace orvento::ui
