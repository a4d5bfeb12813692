#include "CliFixture.h"

#include <QTemporaryDir>

namespace {

QString pdfText(const QString& file) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"),
                                          QStringLiteral("UTF-8"), file, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

class ReportCli : public Cli {
protected:
    QTemporaryDir out;
    QString pdf(const char* name) const { return out.filePath(QString::fromLatin1(name)); }
};

} // namespace

TEST_F(ReportCli, EachReportIsWrittenAsPdfWithoutADisplay) {
    struct Case {
        QStringList arguments;
        QString user;
        QString password;
        QStringList texts;
    };
    const QList<Case> cases{
        {{"lista"},
         "joao",
         "outra",
         {"Lista dos Certificados", "Seleção: Importado:Todos, Status:Todos, Aprovados:Todos"}},
        {{"incompletos"}, "joao", "outra", {"Certificados Incompletos", "Pendências do Certificado"}},
        {{"prontos"}, "joao", "outra", {"Certificados Prontos para Aprovação", "Data de Atualização"}},
        {{"a-vencer", "--days", "30"}, "joao", "outra", {"Certificados a Vencer", "(30 dias)"}},
        {{"usuarios"}, "joao", "outra", {"Cadastro de Usuários", "Aprovação de Certificados", "maria"}},
        {{"historico", "--remessa", "2024010101"},
         "maria",
         "segredo",
         {"Controle de Remessas - Listagem de Histórico", "Número da Remessa:"}},
        {{"comprovante-resultado", "--remessa", "2024010101", "--arquivo", "OC-R-OCC2024010101-NO.ZIP",
          "--resultado", "NO", "--obs", "linha um|linha dois"},
         "maria",
         "segredo",
         {"Remessa foi invalidada pelo Kavorel e exigirá nova remessa", "linha um", "linha dois"}},
        {{"comprovante-gravacao", "--remessa", "2024010101", "--arquivo", "/mnt/OC-OCC2024010101.zip"},
         "maria",
         "segredo",
         {"(arquivo gravado para envio)", "Gravação de arquivo realizada com sucesso."}},
    };
    int n = 0;
    for (const Case& c : cases) {
        const QString file = out.filePath(QStringLiteral("r%1.pdf").arg(++n));
        QStringList arguments{"report"};
        arguments << c.arguments.first() << "--pdf" << file << c.arguments.mid(1);
        const Outcome run = cli(arguments, c.user, c.password);
        EXPECT_EQ(run.status, 0) << c.arguments.first() << run.err;
        EXPECT_TRUE(run.out.contains(file)) << run.out;
        const QString text = pdfText(file);
        for (const QString& t : c.texts)
            EXPECT_TRUE(text.contains(t)) << c.arguments.first() << ": " << t << "\n" << text;
    }
}

TEST_F(ReportCli, FiltersMakeTheSelectionText) {
    const Outcome run = cli({"report", "lista", "--pdf", pdf("l.pdf"), "--numero", "X", "--status",
                             "suspensos", "--aprovados", "nao", "--importado", "sim"},
                            "joao", "outra");
    EXPECT_EQ(run.status, 0) << run.err;
    const QString expected =
        "Seleção: Número do Certificado: X,Importado:Sim, Status:Suspensos, Aprovados:Não";
    EXPECT_TRUE(run.out.contains(expected)) << run.out;
    EXPECT_TRUE(pdfText(pdf("l.pdf")).contains(expected));
}

TEST_F(ReportCli, RefusalsAndUsage) {
    struct Case {
        QStringList arguments;
        QString user;
        QString password;
        int status;
        QString message;
    };
    const QList<Case> cases{
        {{"report", "lista"}, "joao", "outra", 2, "Falta o arquivo PDF (--pdf FILE)."},
        {{"report", "lista", "--pdf", pdf("a.pdf"), "--status", "todos"},
         "joao",
         "outra",
         2,
         "Valor inválido para --status"},
        {{"report", "a-vencer", "--pdf", pdf("a.pdf"), "--days", "-3"},
         "joao",
         "outra",
         2,
         "Valor inválido para --days"},
        {{"report", "historico", "--pdf", pdf("a.pdf")}, "maria", "segredo", 2, "Falta --remessa"},
        {{"report", "lista", "--pdf", pdf("a.pdf")},
         "maria",
         "segredo",
         1,
         "não tem permissão para a Manutenção da Base de Dados"},
        {{"report", "usuarios", "--pdf", pdf("a.pdf")},
         "maria",
         "segredo",
         1,
         "não tem permissão para o Cadastro de Usuários"},
        {{"report", "historico", "--pdf", pdf("a.pdf"), "--remessa", "1"},
         "joao",
         "outra",
         1,
         "não tem permissão para o Controle de Remessas"},
        {{"report", "espelho", "--pdf", pdf("a.pdf"), "--numero", "NENHUM-ASSIM"},
         "joao",
         "outra",
         1,
         "Nenhum certificado selecionado."},
        {{"report", "lista", "--pdf", pdf("a.pdf"), "--classe-produto", "9999"},
         "joao",
         "outra",
         1,
         "Classe de produto 9999 não encontrada."},
    };
    for (const Case& c : cases) {
        const Outcome run = cli(c.arguments, c.user, c.password);
        EXPECT_EQ(run.status, c.status) << c.arguments.join(' ') << run.err;
        EXPECT_TRUE(run.err.contains(c.message)) << c.arguments.join(' ') << ": " << run.err;
    }
    EXPECT_FALSE(QFileInfo::exists(pdf("a.pdf")));
}
