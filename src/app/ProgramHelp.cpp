#include "ProgramHelp.h"

#include "AppInfo.h"
#include "ManualPage.h"

#include <QList>

namespace ProgramHelp {

namespace {

struct Entry {
    QString term;
    QString text;
};

const QList<Entry>& options() {
    static const QList<Entry> all{
        {QStringLiteral("--help"), QStringLiteral("mostra esta ajuda e termina")},
        {QStringLiteral("--version"), QStringLiteral("mostra a versão e termina")},
    };
    return all;
}

const QList<Entry>& environment() {
    static const QList<Entry> all{
        {QStringLiteral("TARVENDIX_HOME"),
         QStringLiteral("O diretório base. Sem ela, o próprio diretório do programa quando gravável (uma "
                        "cópia compilada), senão o diretório de dados do usuário, ~/.local/share/Tarvendix "
                        "(o programa instalado pelo pacote usa sempre este).")},
        {QStringLiteral("QT_QPA_PLATFORM"),
         QStringLiteral("A plataforma gráfica do Qt (\"offscreen\" abre a janela sem tela).")},
    };
    return all;
}

const QList<Entry>& files() {
    static const QList<Entry> all{
        {QStringLiteral("CapaCertific.db"),
         QStringLiteral("O banco de dados, no diretório base; criado no primeiro início.")},
        {QStringLiteral("tarvendix.conf"),
         QStringLiteral("As configurações do programa, no diretório base.")},
        {QStringLiteral("Trabalho/"), QStringLiteral("O diretório de trabalho, no diretório base.")},
        {QStringLiteral("tarvendix-LOGERROS.log"), QStringLiteral("O registro de erros, no diretório base.")},
        {QStringLiteral("Backup/"),
         QStringLiteral("As cópias de segurança do banco de dados, feitas no primeiro início do dia e antes "
                        "de cada operação que regrava muitas linhas.")},
    };
    return all;
}

QString summary() {
    return QStringLiteral(
        "o registro de certificados de conformidade de um certificador e a troca de remessas "
        "com o Kavorel");
}

} // namespace

QString helpText() {
    QString text =
        QStringLiteral("Uso: tarvendix [opções do Qt]\n\n%1: %2.\n\n").arg(AppInfo::ModuleCaption, summary());
    for (const Entry& option : options())
        text += QStringLiteral("  %1%2\n").arg(option.term.leftJustified(12), option.text);
    text += QStringLiteral("\nAs operações sem janela estão em tarvendix-cli (veja tarvendix-cli --help).");
    return text;
}

QString versionText() {
    return AppInfo::ModuleCaption + QStringLiteral(" - ") + AppInfo::Version;
}

QString manualPage() {
    ManualPage page;
    page.name = QStringLiteral("tarvendix");
    page.summary = summary();
    page.version = QStringLiteral("Tarvendix " TARVENDIX_VERSION);
    page.synopsis = {QStringLiteral("tarvendix [opções do Qt]"),
                     QStringLiteral("tarvendix --help | --version")};

    ManualPage::Section description{QStringLiteral("DESCRIÇÃO")};
    description.text = QStringLiteral(
        "O programa com que um organismo de certificação de produtos mantém o seu registro de "
        "certificados de conformidade (certificados, empresas, produtos, serviços, signatários, "
        "documentos normativos e o histórico justificado de eventos) e informa cada alteração ao "
        "Kavorel em remessas numeradas.\n\n"
        "No primeiro início, o programa cria o banco de dados no diretório base e pede a senha do "
        "administrador. As mesmas operações de remessa, tabelas auxiliares, importação, relatórios e "
        "cópias estão disponíveis sem janela em tarvendix-cli(1), para scripts e agendamentos.");
    page.sections << description;

    ManualPage::Section optionList{QStringLiteral("OPÇÕES")};
    for (const Entry& option : options())
        optionList.items << ManualPage::Item{option.term, option.text + QLatin1Char('.')};
    optionList.text =
        QStringLiteral("As opções comuns dos programas Qt (como -platform) também são aceitas.");
    page.sections << optionList;

    ManualPage::Section exit{QStringLiteral("STATUS DE SAÍDA")};
    exit.items = {
        {QStringLiteral("0"), QStringLiteral("o programa foi fechado normalmente.")},
        {QStringLiteral("1"), QStringLiteral("um erro impediu o programa de abrir a janela principal; a "
                                             "mensagem foi mostrada e gravada no registro de erros.")}};
    page.sections << exit;

    ManualPage::Section env{QStringLiteral("AMBIENTE")};
    for (const Entry& entry : environment())
        env.items << ManualPage::Item{entry.term, entry.text};
    page.sections << env;

    ManualPage::Section fileList{QStringLiteral("ARQUIVOS")};
    for (const Entry& entry : files())
        fileList.items << ManualPage::Item{entry.term, entry.text};
    page.sections << fileList;

    ManualPage::Section examples{QStringLiteral("EXEMPLOS")};
    examples.examples = {QStringLiteral("# Abre o programa com os arquivos de outro diretório base\n"
                                        "TARVENDIX_HOME=/srv/tarvendix tarvendix")};
    page.sections << examples;

    ManualPage::Section seeAlso{QStringLiteral("VEJA TAMBÉM")};
    seeAlso.text = QStringLiteral("tarvendix-cli(1); os guias de cada função em /usr/share/doc/tarvendix.");
    page.sections << seeAlso;
    return page.toRoff();
}

std::optional<QString> answerTo(int argc, char** argv) {
    if (argc != 2)
        return std::nullopt;
    const QByteArray option(argv[1]);
    if (option == "--help" || option == "-h")
        return helpText();
    if (option == "--version")
        return versionText();
    if (option == "--man")
        return manualPage();
    return std::nullopt;
}

} // namespace ProgramHelp
