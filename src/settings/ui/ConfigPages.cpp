#include "ConfigPages.h"

#include "Prompts.h"
#include "Session.h"
#include "TDMCapaSistema.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString ErroEdicao = QStringLiteral("Erro de Edição");

QLineEdit* lineEdit(QWidget* parent, const char* name, int maxLength) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(maxLength);
    return edit;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QHBoxLayout* okCancelRow(QPushButton* ok, QPushButton* cancel) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

} // namespace

// ---- ConfigCertificador ----

ConfigCertificadorPage::ConfigCertificadorPage(Session& session, TDMCapaSistema& dm, QWidget* parent)
    : QWidget(parent), session_(session), dm_(dm), DbeSiglaCert_(lineEdit(this, "DbeSiglaCert", 8)),
      DBEdit2_(lineEdit(this, "DBEdit2", 255)) {
    setObjectName(QStringLiteral("ConfigCertificador"));
    // The acronym is typed in upper case whatever the keyboard says.
    connect(DbeSiglaCert_, &QLineEdit::textEdited, this, [this](const QString& text) {
        const int cursor = DbeSiglaCert_->cursorPosition();
        DbeSiglaCert_->setText(text.toUpper());
        DbeSiglaCert_->setCursorPosition(cursor);
    });

    auto* group = new QGroupBox(QStringLiteral("Configuração do Certificador"), this);
    auto* form = new QFormLayout;
    form->addRow(new QLabel(
        QStringLiteral(
            "Entre aqui com os dados de configuração do Certificador, conforme recebido do Kavorel."),
        group));
    form->addRow(QStringLiteral("&Sigla do Certificador"), DbeSiglaCert_);
    form->addRow(QStringLiteral("&Nome do Certificador"), DBEdit2_);
    auto* ok = button(this, "btnOK", QStringLiteral("&Ok"));
    auto* cancel = button(this, "btnCancel", QStringLiteral("&Cancela"));
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addLayout(form);
    groupLayout->addLayout(okCancelRow(ok, cancel));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addStretch();

    connect(ok, &QPushButton::clicked, this, &ConfigCertificadorPage::confirm);
    connect(cancel, &QPushButton::clicked, this, &ConfigCertificadorPage::cancel);
}

void ConfigCertificadorPage::open() {
    row_ = ConfigLocalTable::load(dm_.database()).value_or(ConfigLocal{});
    siglaAnterior_ = row_.SiglaCertificador;
    DbeSiglaCert_->setText(row_.SiglaCertificador);
    DBEdit2_->setText(row_.NomeOCC);
    DbeSiglaCert_->setFocus();
}

void ConfigCertificadorPage::confirm() {
    const QString sigla = DbeSiglaCert_->text().trimmed().toUpper();
    if (sigla.isEmpty()) {
        session_.prompts().error(QStringLiteral("A sigla do Certificador não pode estar em branco."),
                                 ErroEdicao);
        return;
    }
    if (sigla != siglaAnterior_ &&
        !session_.prompts().confirm(
            QStringLiteral("A sigla do Certificador só deve ser alterada sob orientação do "
                           "Kavorel. Você tem certeza de quer prosseguir?"),
            QStringLiteral("Edição do Certificador")))
        return;
    ConfigLocal row = row_;
    row.SiglaCertificador = sigla;
    row.NomeOCC = DBEdit2_->text();
    dm_.salvaConfiguracao(row);
    emit saved();
    emit finished();
}

void ConfigCertificadorPage::cancel() {
    dm_.siglaCertificadorConfigurada(); // the stored acronym again
    emit finished();
}

// ---- ConfiguraDiretorios ----

ConfiguraDiretoriosPage::ConfiguraDiretoriosPage(Session& session, TDMCapaSistema& dm, QWidget* parent)
    : QWidget(parent), session_(session), dm_(dm), ok_(button(this, "BitBtn10", QStringLiteral("&Ok"))) {
    setObjectName(QStringLiteral("ConfiguraDiretorios"));

    auto* locais = new QGroupBox(QStringLiteral(" Diretórios Locais "), this);
    auto* locaisForm = new QFormLayout(locais);
    const struct {
        const char* name;
        const char* browse;
        QString caption;
        QString ConfigLocal::*member;
    } directories[] = {
        {"dbeSinc", "bbtBrowse2", QStringLiteral("Diretório Local de Tabelas de Sincronização"),
         &ConfigLocal::DirLocalSincr},
        {"dbeTransf", "bbtBrowse3", QStringLiteral("Diretório Local de Transferência de Remessas"),
         &ConfigLocal::DirLocalTransf},
        {"dbeTabAux", "bbtBrowse4", QStringLiteral("Diretório Local de Recepção de Tabelas Auxiliares"),
         &ConfigLocal::DirLocalRecepAux},
    };
    for (const auto& d : directories) {
        // No length limit on the field: a chooser's path longer than the column must be refused
        // on saving, never cut.
        QLineEdit* edit = lineEdit(locais, d.name, 32767);
        edit->setReadOnly(true);
        QPushButton* browseButton = button(locais, d.browse, QStringLiteral("Browse..."));
        connect(browseButton, &QPushButton::clicked, this, [this, edit] { browse(edit); });
        auto* row = new QHBoxLayout;
        row->addWidget(edit, 1);
        row->addWidget(browseButton);
        auto* label = new QLabel(d.caption, locais);
        label->setBuddy(edit);
        locaisForm->addRow(label, row);
        fields_.append({edit, d.member});
        browseButtons_.append(browseButton);
    }

    const struct {
        const char* name;
        QString caption;
        int maxLength;
        QString ConfigLocal::*member;
    } texts[] = {
        {"dbeEnvioRemessas", QStringLiteral("Endereço Kavorel para Envio de Remessas"), 100,
         &ConfigLocal::EndKavorelEnvio},
        {"dbeResult", QStringLiteral("Endereço Kavorel para Busca de Resultado"), 100,
         &ConfigLocal::EndKavorelResult},
        {"dbeEndTabAux", QStringLiteral("Endereço Kavorel para Busca Tab. Auxiliares"), 100,
         &ConfigLocal::EndKavorelOrigAux},
        {"dbeLoginFTP", QStringLiteral("Login do Servidor FTP do Kavorel"), 40, &ConfigLocal::LoginFTP},
        {"dbeSenhaFTP", QStringLiteral("Senha do Servidor FTP do Kavorel"), 40, &ConfigLocal::SenhaFTP},
        {"DBEdit1", QStringLiteral("Endereço o Host - EMail"), 150, &ConfigLocal::EndSMTPHost},
        {"DBEdit3", QStringLiteral("Porta do Host - EMail"), 10, &ConfigLocal::EndSMTPPort},
        {"DBEdit4", QStringLiteral("Login do Usuário Local do EMail"), 150, &ConfigLocal::EndSMTPUsuario},
        {"DBEdit5", QStringLiteral("Responsável Kavorel receb. do EMail"), 150,
         &ConfigLocal::EndSMTPUsuReply},
        {"DBEdit6", QStringLiteral("EMail do Responsável Kavorel"), 150, &ConfigLocal::EndSMTPEMailReply},
    };
    auto* ftp = new QGroupBox(QStringLiteral(" Endereços FTP do Kavorel "), this);
    auto* ftpForm = new QFormLayout(ftp);
    auto* mail = new QGroupBox(QStringLiteral(" Endereços EMail Local "), this);
    auto* mailForm = new QFormLayout(mail);
    for (int i = 0; i < int(std::size(texts)); ++i) {
        const bool isFtp = i < 5;
        QLineEdit* edit = lineEdit(isFtp ? ftp : mail, texts[i].name, texts[i].maxLength);
        (isFtp ? ftpForm : mailForm)->addRow(texts[i].caption, edit);
        fields_.append({edit, texts[i].member});
    }
    findChild<QLineEdit*>(QStringLiteral("dbeSenhaFTP"))->setEchoMode(QLineEdit::Password);

    auto* cancel = button(this, "BitBtn11", QStringLiteral("&Cancela"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(locais);
    layout->addWidget(ftp);
    layout->addWidget(mail);
    layout->addLayout(okCancelRow(ok_, cancel));
    layout->addStretch();

    connect(ok_, &QPushButton::clicked, this, &ConfiguraDiretoriosPage::confirm);
    connect(cancel, &QPushButton::clicked, this, &ConfiguraDiretoriosPage::cancel);
}

void ConfiguraDiretoriosPage::open() {
    const std::optional<ConfigLocal> stored = ConfigLocalTable::load(dm_.database());
    row_ = stored.value_or(ConfigLocal{});
    for (const auto& [edit, member] : fields_)
        edit->setText(row_.*member);
    // The directories can only be set once the certifier is configured.
    const bool configured = !dm_.siglaCertificador().isEmpty() && stored.has_value();
    setEditable(configured);
    if (!configured)
        session_.prompts().error(QStringLiteral("As configuraçãoes do Certificador não foram cadastradas."),
                                 ErroEdicao);
    else
        browseButtons_.first()->setFocus();
}

void ConfiguraDiretoriosPage::setEditable(bool editable) {
    for (int i = 0; i < fields_.size(); ++i) {
        QLineEdit* edit = fields_[i].first;
        // The three directories are only ever set through the chooser.
        edit->setReadOnly(!editable || i < browseButtons_.size());
    }
    for (QPushButton* b : browseButtons_)
        b->setEnabled(editable);
    ok_->setEnabled(editable);
}

void ConfiguraDiretoriosPage::browse(QLineEdit* target) {
    const QString chosen =
        session_.prompts().chooseDirectory(QStringLiteral("Selecionar Diretório"), target->text());
    if (!chosen.isEmpty())
        target->setText(chosen);
}

ConfigLocal ConfiguraDiretoriosPage::edited() const {
    ConfigLocal row = row_;
    for (const auto& [edit, member] : fields_)
        row.*member = edit->text();
    return row;
}

void ConfiguraDiretoriosPage::confirm() {
    const ConfigLocal row = edited();
    if (const QString problema = ConfigLocalTable::problemaDiretorios(row); !problema.isEmpty()) {
        session_.prompts().error(problema, ErroEdicao);
        return;
    }
    dm_.salvaConfiguracao(row);
    emit finished();
}

void ConfiguraDiretoriosPage::cancel() {
    dm_.siglaCertificadorConfigurada();
    emit finished();
}
