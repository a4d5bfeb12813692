#include "ReportCommands.h"

#include "CommandLine.h"
#include "Comprovantes.h"
#include "EspelhoCertificado.h"
#include "Relatorios.h"
#include "Session.h"
#include "Sql.h"
#include "TerminalPrompts.h"

#include <QTextStream>
#include <functional>

namespace ReportCommands {

namespace {

const QString Pdf = QStringLiteral("--pdf");
const QString Numero = QStringLiteral("--numero");
const QString ClasseCertificado = QStringLiteral("--classe-certificado");
const QString ClasseProduto = QStringLiteral("--classe-produto");
const QString ClasseServico = QStringLiteral("--classe-servico");
const QString Empresa = QStringLiteral("--empresa");
const QString Marca = QStringLiteral("--marca");
const QString Modelo = QStringLiteral("--modelo");
const QString ProdutoImportado = QStringLiteral("--produto-importado");
const QString Importado = QStringLiteral("--importado");
const QString Status = QStringLiteral("--status");
const QString Aprovados = QStringLiteral("--aprovados");
const QString Days = QStringLiteral("--days");
const QString Remessa = QStringLiteral("--remessa");
const QString Arquivo = QStringLiteral("--arquivo");
const QString Resultado = QStringLiteral("--resultado");
const QString Obs = QStringLiteral("--obs");

const QStringList FilterOptions{Numero, ClasseCertificado, ClasseProduto, ClasseServico, Empresa,  Marca,
                                Modelo, ProdutoImportado,  Importado,     Status,        Aprovados};
const QStringList FilterValued{Numero, ClasseCertificado, ClasseProduto, ClasseServico, Empresa, Marca,
                               Modelo, Importado,         Status,        Aprovados};

const QString FilterHelp =
    QStringLiteral("Filtros (os de \"Relatórios de Certificados\"; sem filtro, todos os certificados):\n"
                   "  --numero TEXTO             parte do número do certificado\n"
                   "  --classe-certificado ID    classe de certificado (IdClasseCertif)\n"
                   "  --classe-produto ID        classe de produto (IdClasseProd)\n"
                   "  --classe-servico ID        classe de serviço (IdClasseServ)\n"
                   "  --empresa PAIS/ID          empresa envolvida, ex. BR/11222333000181\n"
                   "  --marca M --modelo X [--produto-importado]   produto certificado\n"
                   "  --importado sim|nao        linhas de produto importadas ou nacionais\n"
                   "  --status ativos|cancelados|suspensos\n"
                   "  --aprovados sim|nao");

Verb verb(const char* name, const QString& usage, const QString& description, QStringList options = {},
          QStringList valued = {}, bool Permissions::*allowed = nullptr, const QString& permission = {}) {
    options.prepend(Pdf);
    valued.prepend(Pdf);
    Verb v{QString::fromLatin1(name), usage, description, options, valued};
    v.allowed = allowed;
    v.permission = permission;
    return v;
}

const QList<Verb>& verbs() {
    static const QList<Verb> all{
        verb("lista", QStringLiteral("lista --pdf FILE [filtros]"),
             QStringLiteral("Grava em FILE a \"Lista dos Certificados\" selecionados.\n") + FilterHelp,
             FilterOptions, FilterValued),
        verb("espelho", QStringLiteral("espelho --pdf FILE [filtros]"),
             QStringLiteral(
                 "Grava em FILE o \"Espelho do Certificado\" dos certificados selecionados, cada um "
                 "numa página nova.\n") +
                 FilterHelp,
             FilterOptions, FilterValued),
        verb("espelho-log", QStringLiteral("espelho-log --pdf FILE [filtros]"),
             QStringLiteral(
                 "Como espelho, com o log de eventos de cada certificado (\"Espelho com Log\").\n") +
                 FilterHelp,
             FilterOptions, FilterValued),
        verb("incompletos", QStringLiteral("incompletos --pdf FILE"),
             QStringLiteral("Grava em FILE os \"Certificados Incompletos\" com as pendências de cada um.")),
        verb("prontos", QStringLiteral("prontos --pdf FILE"),
             QStringLiteral("Grava em FILE os \"Certificados Prontos para Aprovação\".")),
        verb("a-vencer", QStringLiteral("a-vencer --pdf FILE [--days N]"),
             QStringLiteral(
                 "Grava em FILE os \"Certificados a Vencer\": os ativos cuja validade termina em até N "
                 "dias (padrão 60) e os já vencidos. Mostra quantos são."),
             {Days}, {Days}),
        verb("usuarios", QStringLiteral("usuarios --pdf FILE"),
             QStringLiteral("Grava em FILE o \"Cadastro de Usuários\" com as permissões de cada um."), {}, {},
             &Permissions::AcCadastraUsu, QStringLiteral("o Cadastro de Usuários")),
        verb("historico", QStringLiteral("historico --pdf FILE --remessa NUMERO"),
             QStringLiteral("Grava em FILE a \"Listagem do Histórico\" da remessa NUMERO."), {Remessa},
             {Remessa}, &Permissions::AcContRemessas, QStringLiteral("o Controle de Remessas")),
        verb(
            "comprovante-transferencia",
            QStringLiteral(
                "comprovante-transferencia --pdf FILE --remessa NUMERO --arquivo NOME [--obs TEXTO]"),
            QStringLiteral("Grava em FILE o comprovante de transferência por FTP ou e-mail da remessa; --obs "
                           "dá as observações (linhas separadas por \"|\")."),
            {Remessa, Arquivo, Obs}, {Remessa, Arquivo, Obs}, &Permissions::AcContRemessas,
            QStringLiteral("o Controle de Remessas")),
        verb("comprovante-gravacao",
             QStringLiteral("comprovante-gravacao --pdf FILE --remessa NUMERO --arquivo CAMINHO"),
             QStringLiteral(
                 "Grava em FILE o comprovante da gravação da remessa em CAMINHO (diretório e nome)."),
             {Remessa, Arquivo}, {Remessa, Arquivo}, &Permissions::AcContRemessas,
             QStringLiteral("o Controle de Remessas")),
        verb("comprovante-resultado",
             QStringLiteral(
                 "comprovante-resultado --pdf FILE --remessa NUMERO --arquivo NOME --resultado OK|NO "
                 "[--obs TEXTO]"),
             QStringLiteral(
                 "Grava em FILE o comprovante do resultado recebido do Kavorel; --obs dá as linhas do "
                 "relatório recebido (separadas por \"|\")."),
             {Remessa, Arquivo, Resultado, Obs}, {Remessa, Arquivo, Resultado, Obs},
             &Permissions::AcContRemessas, QStringLiteral("o Controle de Remessas")),
    };
    return all;
}

QString checkOptions(const Verb& verb, const CommandLine& line) {
    if (!line.values.contains(Pdf))
        return QStringLiteral("Falta o arquivo PDF (--pdf FILE).");
    const auto oneOf = [&line](const QString& option, const QStringList& choices) -> QString {
        if (line.values.contains(option) && !choices.contains(line.values.value(option)))
            return QStringLiteral("Valor inválido para %1: %2 (use %3).")
                .arg(option, line.values.value(option), choices.join(QStringLiteral(", ")));
        return {};
    };
    for (const QString& problem : {oneOf(Importado, {QStringLiteral("sim"), QStringLiteral("nao")}),
                                   oneOf(Status, {QStringLiteral("ativos"), QStringLiteral("cancelados"),
                                                  QStringLiteral("suspensos")}),
                                   oneOf(Aprovados, {QStringLiteral("sim"), QStringLiteral("nao")}),
                                   oneOf(Resultado, {QStringLiteral("OK"), QStringLiteral("NO")})})
        if (!problem.isEmpty())
            return problem;
    if (line.values.contains(Days)) {
        bool ok = false;
        const int days = line.values.value(Days).toInt(&ok);
        if (!ok || days < 0)
            return QStringLiteral("Valor inválido para --days: %1 (um número de dias).")
                .arg(line.values.value(Days));
    }
    if (line.values.contains(Marca) != line.values.contains(Modelo))
        return QStringLiteral("O produto pede --marca e --modelo.");
    if (line.values.contains(Empresa) && !line.values.value(Empresa).contains(QLatin1Char('/')))
        return QStringLiteral("A empresa é dada como PAIS/ID, ex. BR/11222333000181.");
    for (const QString& required : {Remessa, Arquivo, Resultado})
        if (verb.valued.contains(required) && required != Obs && !line.values.contains(required))
            return QStringLiteral("Falta %1 para %2.").arg(required, verb.name);
    return {};
}

// The filter of the command line, with the names the selection text shows; empty with the
// problem when a class or company is unknown.
std::optional<FiltroRelatorio> filtroDe(const QSqlDatabase& db, const CommandLine& line, QString* problem) {
    FiltroRelatorio f;
    const auto value = [&line](const QString& option) { return line.values.value(option); };
    f.numero = value(Numero);
    const auto classe = [&](const QString& option, const char* sql,
                            const char* what) -> std::optional<ClasseEscolhida> {
        if (!line.values.contains(option))
            return std::nullopt;
        const QVariant nome =
            Sql::scalar(db, QString::fromLatin1(sql), {{QStringLiteral(":id"), value(option)}});
        if (!nome.isValid()) {
            *problem = QStringLiteral("%1 %2 não encontrada.").arg(QString::fromUtf8(what), value(option));
            return std::nullopt;
        }
        return ClasseEscolhida{value(option), nome.toString()};
    };
    f.classeCertificado =
        classe(ClasseCertificado, "SELECT NomClasseCertif FROM CLASSE_C WHERE IdClasseCertif = :id",
               "Classe de certificado");
    f.classeProduto = classe(ClasseProduto, "SELECT NomClasseProd FROM CLASSE_P WHERE IdClasseProd = :id",
                             "Classe de produto");
    f.classeServico = classe(ClasseServico, "SELECT NomClasseServ FROM CLASSE_S WHERE IdClasseServ = :id",
                             "Classe de serviço");
    if (!problem->isEmpty())
        return std::nullopt;
    if (line.values.contains(Empresa)) {
        const QString pais = value(Empresa).section(QLatin1Char('/'), 0, 0);
        const QString id = value(Empresa).section(QLatin1Char('/'), 1);
        QSqlQuery q =
            Sql::exec(db,
                      QStringLiteral("SELECT TipoPessoa, RazSocialEmp, NomPessoaFisica FROM EMPRESA "
                                     "WHERE CodigoPais = :p AND IdEmpresa = :i"),
                      {{QStringLiteral(":p"), pais}, {QStringLiteral(":i"), id}});
        if (!q.next()) {
            *problem = QStringLiteral("Empresa %1 não encontrada.").arg(value(Empresa));
            return std::nullopt;
        }
        const QString nome =
            q.value(0).toString() == QLatin1String("2") ? q.value(2).toString() : q.value(1).toString();
        f.empresa = EmpresaFiltro{pais, id, nome};
    }
    if (line.values.contains(Marca))
        f.produto =
            ProdutoFiltro{value(Marca), value(Modelo), line.options.contains(ProdutoImportado) ? 1 : 0};
    if (line.values.contains(Importado))
        f.importado = value(Importado) == QLatin1String("sim") ? FiltroImportado::Sim : FiltroImportado::Nao;
    if (line.values.contains(Status))
        f.status = value(Status) == QLatin1String("ativos")       ? FiltroStatus::Ativos
                   : value(Status) == QLatin1String("cancelados") ? FiltroStatus::Cancelados
                                                                  : FiltroStatus::Suspensos;
    if (line.values.contains(Aprovados))
        f.aprovacao = value(Aprovados) == QLatin1String("sim") ? FiltroAprovacao::Aprovados
                                                               : FiltroAprovacao::NaoAprovados;
    return f;
}

int run(Session& session, TerminalPrompts&, const Verb& verb, const CommandLine& line,
        const std::atomic_bool&) {
    const ReportContext context = ReportContext::of(session);
    const QSqlDatabase db = session.database();
    const auto value = [&line](const QString& option) { return line.values.value(option); };
    const QStringList obs = line.values.contains(Obs) ? value(Obs).split(QLatin1Char('|')) : QStringList();
    const Comprovantes::Remessa remessa{ReportText::linhaCertificador(db), value(Remessa)};
    QTextStream out(stdout);

    Report::Document document;
    const QString& name = verb.name;
    if (name == QLatin1String("lista") || name.startsWith(QLatin1String("espelho"))) {
        QString problem;
        const std::optional<FiltroRelatorio> filtro = filtroDe(db, line, &problem);
        if (!filtro) {
            TerminalPrompts::say(problem);
            return Refused;
        }
        const SelecaoCertificados selecao = montaSelecao(*filtro);
        const int count = contaSelecao(db, selecao);
        if (name == QLatin1String("lista")) {
            document = Relatorios::lista(context, selecao);
        } else if (count == 0) {
            // The screen's mirror buttons stay disabled without a certificate.
            TerminalPrompts::say(QStringLiteral("Nenhum certificado selecionado."));
            return Refused;
        } else {
            document = Espelho::espelho(context, selecao,
                                        name == QLatin1String("espelho-log") ? Espelho::Variante::ComLog
                                                                             : Espelho::Variante::SemLog);
        }
        out << selecao.texto.trimmed() << Qt::endl
            << QStringLiteral("Certificados: %1")
                   .arg(count == 0 ? QStringLiteral("0") : formataContagem(count))
            << Qt::endl;
    } else if (name == QLatin1String("incompletos")) {
        document = Relatorios::certificadosIncompletos(context);
    } else if (name == QLatin1String("prontos")) {
        document = Relatorios::certificadosProntos(context);
    } else if (name == QLatin1String("a-vencer")) {
        const int days = line.values.contains(Days) ? value(Days).toInt() : Relatorios::DiasAVencerPadrao;
        document = Relatorios::certificadosAVencer(context, days);
        out << QStringLiteral("Certificados a vencer em até %1 dias: %2")
                   .arg(days)
                   .arg(Relatorios::contaAVencer(db, context.agora.date(), days))
            << Qt::endl;
    } else if (name == QLatin1String("usuarios")) {
        document = Relatorios::usuarios(context);
    } else if (name == QLatin1String("historico")) {
        document = Relatorios::historicoRemessa(context, value(Remessa));
    } else if (name == QLatin1String("comprovante-transferencia")) {
        document = Comprovantes::transferencia(context, remessa, value(Arquivo), obs);
    } else if (name == QLatin1String("comprovante-gravacao")) {
        document = Comprovantes::gravacao(context, remessa, value(Arquivo));
    } else {
        document = Comprovantes::resultado(context, remessa, value(Arquivo), value(Resultado), obs);
    }
    QString error;
    if (!Report::writePdf(document, value(Pdf), &error)) {
        TerminalPrompts::say(error);
        return Refused;
    }
    out << QStringLiteral("%1 (%2 página(s))").arg(value(Pdf)).arg(document.pages.size()) << Qt::endl;
    return Done;
}

} // namespace

const VerbGroup& group() {
    static const VerbGroup report{QStringLiteral("report"),
                                  QStringLiteral("a Manutenção da Base de Dados"),
                                  &Permissions::AcManBase,
                                  verbs,
                                  checkOptions,
                                  run};
    return report;
}

} // namespace ReportCommands
