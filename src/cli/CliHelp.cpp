#include "CliHelp.h"

#include "BackupCommands.h"
#include "BatchCommands.h"
#include "DeliveryCommands.h"
#include "ImportCommands.h"
#include "ManualPage.h"
#include "ReferenceCommands.h"
#include "ReportCommands.h"

#include <QRegularExpression>

namespace CliHelp {

namespace {

struct Option {
    QString name; // "--home DIR"
    QString text;
};

// The options of the companion itself, before the verb.
const QList<Option>& generalOptions() {
    static const QList<Option> all{
        {QStringLiteral("--home DIR"),
         QStringLiteral("diretório base (o do banco de dados CapaCertific.db); o padrão é o do programa,\n"
                        "ou TARVENDIX_HOME quando definido")},
        {QStringLiteral("--user LOGIN"),
         QStringLiteral("usuário; a senha vem de TARVENDIX_PASSWORD ou é pedida no terminal")},
        {QStringLiteral("--help"), QStringLiteral("esta ajuda; depois de um verbo, a ajuda do verbo")},
        {QStringLiteral("--version"), QStringLiteral("mostra a versão")},
    };
    return all;
}

struct Status {
    int code;
    QString brief;  // what --help says
    QString detail; // what the manual adds
};

const QList<Status>& statuses() {
    static const QList<Status> all{
        {0, QStringLiteral("feito"), QString()},
        {1, QStringLiteral("recusado ou falhou"),
         QStringLiteral("login, permissão, configuração, uma remessa em andamento, uma confirmação "
                        "recusada, nada a enviar, resultado ainda não disponível, senha inválida, uma "
                        "transferência ou instalação que falhou, um arquivo que não existe mais, uma "
                        "interrupção, um erro. A mensagem sai em stderr.")},
        {2, QStringLiteral("erro de uso"),
         QStringLiteral("verbo ou opção desconhecidos, valor ou argumento faltando, tipo de remessa, "
                        "origem da versão ou modo de recebimento não escolhidos.")},
    };
    return all;
}

struct Setting {
    QString name;
    QString text;
};

const QList<Setting>& environment() {
    static const QList<Setting> all{
        {QStringLiteral("TARVENDIX_HOME"),
         QStringLiteral("O diretório base, quando --home não é dado. Sem ele, o do programa: o seu próprio "
                        "diretório quando gravável (uma cópia compilada), senão o diretório de dados do "
                        "usuário, ~/.local/share/Tarvendix (o programa instalado pelo pacote usa sempre "
                        "este).")},
        {QStringLiteral("TARVENDIX_PASSWORD"),
         QStringLiteral("A senha do usuário de --user. Sem ela, a senha é pedida no terminal (sem eco); "
                        "sem terminal, o login é recusado.")},
        {QStringLiteral("QT_QPA_PLATFORM"),
         QStringLiteral("Os relatórios desenham o texto sem janela, na plataforma \"offscreen\" quando esta "
                        "variável não escolhe outra.")},
    };
    return all;
}

const QList<Setting>& files() {
    static const QList<Setting> all{
        {QStringLiteral("CapaCertific.db"),
         QStringLiteral("O banco de dados, no diretório base. O companheiro nunca o cria: sem ele, é um "
                        "erro (inicie o programa tarvendix uma vez).")},
        {QStringLiteral("tarvendix.conf"),
         QStringLiteral("As configurações do programa no diretório base, como [copias] (as cópias de "
                        "segurança) e o tempo de espera das transferências.")},
        {QStringLiteral("Trabalho/"), QStringLiteral("O diretório de trabalho, no diretório base.")},
        {QStringLiteral("Backup/"),
         QStringLiteral("As cópias de segurança do banco de dados, ao lado dele (ou onde [copias] "
                        "Diretorio indicar).")},
    };
    return all;
}

const QStringList& examples() {
    static const QStringList all{
        QStringLiteral("# Prepara e entrega por FTP a remessa parcial da noite\n"
                       "TARVENDIX_PASSWORD=... tarvendix-cli --user operador batch prepare --partial\n"
                       "TARVENDIX_PASSWORD=... tarvendix-cli --user operador batch deliver --ftp"),
        QStringLiteral("# Busca pela manhã o resultado da remessa enviada\n"
                       "TARVENDIX_PASSWORD=... tarvendix-cli --user operador batch result --fetch"),
        QStringLiteral(
            "# O que uma remessa parcial levaria, sem gravar nada\n"
            "tarvendix-cli --home /srv/tarvendix --user operador batch prepare --partial --preview"),
        QStringLiteral("# Os certificados a vencer nos próximos 30 dias, em PDF\n"
                       "tarvendix-cli --user operador report a-vencer --pdf a-vencer.pdf --days 30"),
    };
    return all;
}

QString permissionText(const VerbGroup& group, const Verb& verb) {
    if (!verb.allowed && !group.allowed)
        return QStringLiteral("Qualquer usuário do programa pode usá-lo.");
    return QStringLiteral("Exige a permissão para %1.")
        .arg(verb.allowed ? verb.permission : group.permission);
}

QString padded(const QString& text, int width) {
    return text.size() < width ? text.leftJustified(width) : text + QLatin1Char(' ');
}

// What a valued option or an argument takes, as its placeholder names it: "DIR", "FILE", ...
QString placeholderOf(const QString& option) {
    for (const VerbGroup* group : groups())
        for (const Verb& verb : group->verbs()) {
            const QRegularExpression after(QRegularExpression::escape(option) +
                                           QStringLiteral("[ =]([A-Z/|]+)"));
            if (const QRegularExpressionMatch match = after.match(verb.usage); match.hasMatch())
                return match.captured(1);
        }
    return QString();
}

// The bash words that complete a placeholder: directories, files, or nothing to offer.
QString completionOf(const QString& placeholder) {
    if (placeholder == QLatin1String("DIR"))
        return QStringLiteral("compgen -d -- \"$cur\"");
    if (placeholder == QLatin1String("FILE") || placeholder == QLatin1String("CAMINHO"))
        return QStringLiteral("compgen -f -- \"$cur\"");
    return QString();
}

QString quotedList(const QStringList& list) {
    return list.join(QLatin1Char(' '));
}

} // namespace

const QList<const VerbGroup*>& groups() {
    static const QList<const VerbGroup*> all{&BatchCommands::group(),        &ReferenceCommands::group(),
                                             &ImportCommands::group(),       &DeliveryCommands::txtGroup(),
                                             &ReportCommands::group(),       &BackupCommands::backupGroup(),
                                             &BackupCommands::restoreGroup()};
    return all;
}

const VerbGroup* findGroup(const QString& name) {
    for (const VerbGroup* group : groups())
        if (group->name == name)
            return group;
    return nullptr;
}

QString synopsis() {
    return QStringLiteral("tarvendix-cli [--home DIR] --user LOGIN VERB ...");
}

QString generalHelp() {
    QString text =
        QStringLiteral("Uso: %1\n\nExecuta, sem janelas, as mesmas operações do programa Tarvendix.\n\n")
            .arg(synopsis());
    for (const Option& option : generalOptions()) {
        const QStringList lines = option.text.split(QLatin1Char('\n'));
        text += QStringLiteral("  %1%2\n").arg(padded(option.name, 15), lines.first());
        for (const QString& line : lines.mid(1))
            text += QString(17, QLatin1Char(' ')) + line + QLatin1Char('\n');
    }
    text += QStringLiteral("\nVerbos:\n");
    for (const VerbGroup* group : groups())
        for (const Verb& verb : group->verbs())
            text += QStringLiteral("  %1 %2\n").arg(group->name, verb.usage);
    QStringList codes;
    for (const Status& status : statuses())
        codes << QStringLiteral("%1 %2").arg(status.code).arg(status.brief);
    text +=
        QStringLiteral("\nSaída: %1. As mensagens vão para stderr.").arg(codes.join(QStringLiteral("; ")));
    return text;
}

QString verbHelp(const VerbGroup& group, const Verb& verb) {
    return QStringLiteral("Uso: tarvendix-cli [--home DIR] --user LOGIN %1 %2\n\n%3\n\n%4")
        .arg(group.name, verb.usage, verb.description, permissionText(group, verb));
}

QString versionText() {
    return QStringLiteral("tarvendix-cli (Tarvendix) %1").arg(QStringLiteral(TARVENDIX_VERSION));
}

QString manualPage() {
    ManualPage page;
    page.name = QStringLiteral("tarvendix-cli");
    page.summary = QStringLiteral("as operações do Tarvendix sem janelas, para scripts e agendamentos");
    page.version = QStringLiteral("Tarvendix %1").arg(QStringLiteral(TARVENDIX_VERSION));
    page.synopsis = {synopsis(), QStringLiteral("tarvendix-cli [VERB] --help"),
                     QStringLiteral("tarvendix-cli --version")};

    ManualPage::Section description{QStringLiteral("DESCRIÇÃO")};
    description.text = QStringLiteral(
        "Executa, sem janelas, as mesmas operações do programa tarvendix(1), com as mesmas bibliotecas: "
        "a preparação, a entrega e o resultado das remessas ao Kavorel, as tabelas auxiliares, a "
        "importação de arquivos TXT, os relatórios em PDF e as cópias de segurança.\n\n"
        "As permissões do usuário são as da janela principal, e a verificação da configuração do "
        "início do programa também é feita. As mensagens vão para stderr; os resultados (listas, "
        "contagens, o arquivo criado) para stdout. Sem --yes, uma confirmação é pedida no terminal; "
        "sem terminal, a resposta é \"Não\" e o verbo termina com a saída 1.");
    page.sections << description;

    ManualPage::Section options{QStringLiteral("OPÇÕES")};
    for (const Option& option : generalOptions())
        options.items << ManualPage::Item{option.name,
                                          QString(option.text).replace(QLatin1Char('\n'), QLatin1Char(' '))};
    page.sections << options;

    bool first = true;
    for (const VerbGroup* group : groups()) {
        ManualPage::Section section{first ? QStringLiteral("VERBOS") : QString(), group->name};
        first = false;
        for (const Verb& verb : group->verbs())
            section.items << ManualPage::Item{QStringLiteral("%1 %2").arg(group->name, verb.usage),
                                              verb.description + QStringLiteral("\n") +
                                                  permissionText(*group, verb)};
        page.sections << section;
    }

    ManualPage::Section exit{QStringLiteral("STATUS DE SAÍDA")};
    for (const Status& status : statuses())
        exit.items << ManualPage::Item{
            QString::number(status.code),
            status.detail.isEmpty() ? status.brief : status.brief + QStringLiteral(": ") + status.detail};
    page.sections << exit;

    ManualPage::Section env{QStringLiteral("AMBIENTE")};
    for (const Setting& setting : environment())
        env.items << ManualPage::Item{setting.name, setting.text};
    page.sections << env;

    ManualPage::Section fileList{QStringLiteral("ARQUIVOS")};
    for (const Setting& file : files())
        fileList.items << ManualPage::Item{file.name, file.text};
    page.sections << fileList;

    ManualPage::Section exampleList{QStringLiteral("EXEMPLOS")};
    exampleList.examples = examples();
    page.sections << exampleList;

    ManualPage::Section seeAlso{QStringLiteral("VEJA TAMBÉM")};
    seeAlso.text = QStringLiteral(
        "tarvendix(1); os guias em /usr/share/doc/tarvendix, e os exemplos de agendamento com o "
        "systemd em /usr/share/doc/tarvendix/examples.");
    page.sections << seeAlso;
    return page.toRoff();
}

QString bashCompletion() {
    QStringList valued{QStringLiteral("--home"), QStringLiteral("--user")};
    QStringList groupNames;
    for (const VerbGroup* group : groups()) {
        groupNames << group->name;
        for (const Verb& verb : group->verbs())
            for (const QString& option : verb.valued)
                if (!valued.contains(option))
                    valued << option;
    }

    QString script =
        QStringLiteral("# bash completion for tarvendix-cli, made by \"tarvendix-cli --bash-completion\"\n"
                       "_tarvendix_cli() {\n"
                       "    local cur=${COMP_WORDS[COMP_CWORD]} prev=\n"
                       "    (( COMP_CWORD > 0 )) && prev=${COMP_WORDS[COMP_CWORD-1]}\n"
                       "    COMPREPLY=()\n"
                       "    case $prev in\n");
    // The value of an option: a directory, a file, or anything the user types.
    QMap<QString, QStringList> byCompletion;
    for (const QString& option : valued)
        byCompletion[completionOf(option == QLatin1String("--home") ? QStringLiteral("DIR")
                                                                    : placeholderOf(option))]
            << option;
    for (auto it = byCompletion.cbegin(); it != byCompletion.cend(); ++it)
        script += QStringLiteral("        %1)\n            %2\n            return ;;\n")
                      .arg(it.value().join(QLatin1Char('|')),
                           it.key().isEmpty() ? QStringLiteral(":")
                                              : QStringLiteral("COMPREPLY=($(%1))").arg(it.key()));
    script += QStringLiteral("    esac\n"
                             "    # The verb's words so far, without the options and their values.\n"
                             "    local words=() skip= i\n"
                             "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
                             "        if [[ -n $skip ]]; then skip=; continue; fi\n"
                             "        case ${COMP_WORDS[i]} in\n"
                             "            %1) skip=1 ;;\n"
                             "            -*) ;;\n"
                             "            *) words+=(\"${COMP_WORDS[i]}\") ;;\n"
                             "        esac\n"
                             "    done\n"
                             "    local offer= argument=\n"
                             "    case \"${words[*]}\" in\n"
                             "        '') offer='--home --user --help --version %2' ;;\n")
                  .arg(valued.join(QLatin1Char('|')), quotedList(groupNames));
    for (const VerbGroup* group : groups()) {
        QStringList names;
        const Verb* bare = nullptr;
        for (const Verb& verb : group->verbs()) {
            if (verb.name.isEmpty())
                bare = &verb;
            else
                names << verb.name;
        }
        // The group's own word: its verbs, or the options and argument of its unnamed verb.
        QStringList offer = names;
        if (bare)
            offer << bare->options;
        offer << QStringLiteral("--help");
        script +=
            QStringLiteral("        '%1') offer='%2'%3 ;;\n")
                .arg(group->name, quotedList(offer),
                     bare && !bare->argument.isEmpty() ? QStringLiteral("; argument=%1").arg(bare->argument)
                                                       : QString());
        if (bare && !bare->argument.isEmpty())
            script +=
                QStringLiteral("        '%1 '*) offer='%2' ;;\n")
                    .arg(group->name, quotedList(bare->options + QStringList{QStringLiteral("--help")}));
        for (const Verb& verb : group->verbs()) {
            if (verb.name.isEmpty())
                continue;
            const QString options = quotedList(verb.options + QStringList{QStringLiteral("--help")});
            script += QStringLiteral("        '%1 %2') offer='%3'%4 ;;\n")
                          .arg(group->name, verb.name, options,
                               verb.argument.isEmpty() ? QString()
                                                       : QStringLiteral("; argument=%1").arg(verb.argument));
            if (!verb.argument.isEmpty())
                script +=
                    QStringLiteral("        '%1 %2 '*) offer='%3' ;;\n").arg(group->name, verb.name, options);
        }
    }
    script += QStringLiteral("    esac\n"
                             "    COMPREPLY=($(compgen -W \"$offer\" -- \"$cur\"))\n"
                             "    if [[ $cur != -* ]]; then\n"
                             "        case $argument in\n"
                             "            DIR) COMPREPLY+=($(compgen -d -- \"$cur\")) ;;\n"
                             "            FILE) COMPREPLY+=($(compgen -f -- \"$cur\")) ;;\n"
                             "        esac\n"
                             "    fi\n"
                             "}\n"
                             "complete -F _tarvendix_cli tarvendix-cli\n");
    return script;
}

} // namespace CliHelp
