#include "EstruturaRegistro.h"
#include "ImportFixture.h"
#include "ImportacaoConsole.h"

#include <QTextStream>

namespace {

const QString Cnpj2 = QStringLiteral("44555666000181");
const QString Sucesso = QStringLiteral("Importação dos dados do arquivo %1 concluída com sucesso");
const QString Erro = QStringLiteral("Ocorreu erro na importação dos dados do arquivo %1");
const QString ErrosNoProcessamento = QStringLiteral(
    "Ocorreram erros no processamento do(s) arquivo(s) TXT clique no botão ERROS DE IMPORTAÇÃO para "
    "procedimentos de correção");

// A certificate, its company and product, complete.
QStringList arquivoCompleto(const QString& num) {
    return Txt::certific(num) + Txt::empresa() + Txt::empCert(num) + Txt::produto() + Txt::tipo(num) +
           Txt::docNormTipo(num);
}

QStringList produtos(int quantos, const QList<int>& invalidos = {}) {
    QStringList linhas;
    for (int i = 1; i <= quantos; ++i)
        linhas += Txt::produto(QStringLiteral("Marca %1").arg(i), QStringLiteral("Modelo"),
                               invalidos.contains(i) ? QStringLiteral("2") : QStringLiteral("0"));
    return linhas;
}

class Importacao : public ImportFixture {
protected:
    // The logs a failed file leaves, by the import file's name.
    QStringList erro(const QString& nome) { return linhasDe("ERRO" + nome.left(nome.size() - 4) + ".txt"); }
    QStringList erroBD(const QString& nome) {
        return linhasDe("ERROBD" + nome.left(nome.size() - 4) + ".txt");
    }
    bool existe(const QString& nome) { return QFile::exists(QDir(dir()).filePath(nome)); }
};

} // namespace

TEST_F(Importacao, ACompleteCertificateIsWrittenWithItsInclusionHistoryAndApproved) {
    const auto r = importaUm(Nome1, arquivoCompleto("C1"));
    EXPECT_EQ(r.situacao, SituacaoArquivo::Importado);
    EXPECT_EQ(prompts.texts(), QStringList{Sucesso.arg(Nome1)});

    EXPECT_EQ(
        linhasSql("SELECT SiglaCertificador, NumCertif, StatusCertificado, IdClasseProd, IdClasseCertif, "
                  "DataEmissao, DataValid, DthStatusCertificado, LabEnsaio, NumRelEnsaio, Signatarios, "
                  "Observacoes, Completo, Aprovado, DthUltAtualiz, UsuResp FROM CERTIFIC"),
        QStringList{"OCC1|C1|A|110|COMP|2015-11-10T00:00:00.000|2018-11-10T00:00:00.000|"
                    "2015-11-10T00:00:00.000|Laboratório Central|REL-77|Fulano de Tal|NULL|1|1|"
                    "2015-11-25T14:03:59.000|maria"});
    EXPECT_EQ(
        linhasSql("SELECT CodigoPais, IdEmpresa, CGC, RazSocialEmp, NomFantasia, EndLogr, SiglaUF, Email, "
                  "TipoPessoa, CPF FROM EMPRESA"),
        QStringList{"BR|11222333000181|11222333000181|Indústria Ótima Ltda|Ótima|Rua das Flores|SP|"
                    "contato@otima.com.br|1|NULL"});
    EXPECT_EQ(linhasSql("SELECT MarcaProd, ModeloProd, Importado, CodEANUPC, DescrProd FROM PRODUTO"),
              QStringList{"Marca|Modelo X|0|7890000000001|Descrição do produto"});
    EXPECT_EQ(
        linhasSql(
            "SELECT NumCertif, MarcaProd, Importado, StatusProduto, DthEntCertif, CodigoPais, IdEmpresa "
            "FROM TIPO"),
        QStringList{"C1|Marca|0|A|2015-11-10T00:00:00.000|BR|11222333000181"});
    // Inclusion events, then the approval.
    EXPECT_EQ(linhasSql("SELECT SeqEvento, Evento, Justificativa, HistoricoSis, StatusCertificado, "
                        "DthStatusCertificado, DthUltAtualiz, UsuResp FROM STATUS_C ORDER BY SeqEvento"),
              (QStringList{"1|INC|Historico gerado pelo sistema|2|A|2015-11-10T00:00:00.000|"
                           "2015-11-25T14:03:59.000|maria",
                           "2|APR|Historico gerado pelo sistema|2|A|2015-11-25T14:03:59.000|"
                           "2015-11-25T14:03:59.000|maria"}));
    EXPECT_EQ(
        linhasSql("SELECT IdEmpresa, SeqEvento, Evento, StatusEmpresa, DthStatusEmpresa FROM EVENTO_EMP"),
        QStringList{"11222333000181|1|INC|A|2015-11-10T00:00:00.000"});
    EXPECT_EQ(
        linhasSql("SELECT MarcaProd, SeqEvento, Evento, HistoricoSis, StatusProduto, DthStatusProduto FROM "
                  "STATUS_T"),
        QStringList{"Marca|1|INC|2|A|2015-11-10T00:00:00.000"});
    EXPECT_EQ(linhasSql("SELECT IdDocNorm, SeqEvento, Evento, Status_DNT, DthStatusDNT FROM STATUS_DNT"),
              QStringList{"1|1|INC|A|2015-11-10T00:00:00.000"});
    EXPECT_EQ(conta("CTR_HISTORICO"), 0);
    EXPECT_EQ(linhasSql("SELECT DataHoraEvento, NomeArquivo, Obs, UsuResp, EnviadoKAVOREL FROM CONTROLE_TXT"),
              QStringList{"2015-11-25T14:03:59.000|" + Nome1 + "|Importação p/ módulo OCC|maria|N"});
    // The logs of a file that went through are deleted by the reset.
    EXPECT_FALSE(existe("Log.txt"));
    EXPECT_FALSE(existe("Log_BD.txt"));
}

TEST_F(Importacao, ANewLineImportedSuspendedGetsAnInclusionEventWithStatusAButACertificateKeepsItsOwn) {
    QStringList file = Txt::certific("C1", "S") + Txt::empresa() + Txt::empCert("C1", Txt::Cnpj, "BR", "S") +
                       Txt::produto() + Txt::tipo("C1", "Marca", "Modelo X", Txt::Cnpj, "S", "12/11/2015");
    EXPECT_EQ(importaUm(Nome1, file).situacao, SituacaoArquivo::Importado);
    EXPECT_EQ(linhasSql("SELECT Evento, StatusCertificado FROM STATUS_C"), QStringList{"INC|S"});
    EXPECT_EQ(linhasSql("SELECT Evento, StatusEmpresa FROM EVENTO_EMP"), QStringList{"INC|S"});
    EXPECT_EQ(linhasSql("SELECT Evento, StatusProduto, DthStatusProduto FROM STATUS_T"),
              QStringList{"INC|A|2015-11-12T00:00:00.000"});
    EXPECT_EQ(linhasSql("SELECT StatusProduto FROM TIPO"), QStringList{"S"});
    // Without a normative document it is not complete: no approval.
    EXPECT_EQ(linhasSql("SELECT Completo, Aprovado FROM CERTIFIC"), QStringList{"0|0"});
}

// A certificate whose remarks line is missing ends at the next header: the event that follows is
// imported, not taken for remarks.
TEST_F(Importacao, ACertificateMissingItsLastLineLeavesTheNextRecordWhole) {
    QStringList certificado = Txt::certific("C1");
    certificado.removeLast();
    QStringList avisos;
    escreve(Nome1, certificado + Txt::statusC("C1", "SUS", "S"));
    ImportacaoTxt run(parametros());
    AcompanhamentoImportacao a;
    a.aviso = [&](const QString& t) { avisos << t; };
    run.setAcompanhamento(a);
    EXPECT_EQ(run.importa(dir(), {Nome1}).first().situacao, SituacaoArquivo::Importado);
    EXPECT_TRUE(avisos.isEmpty()) << avisos.join("\n").toStdString();
    EXPECT_EQ(linhasSql("SELECT Signatarios, Observacoes FROM CERTIFIC"), QStringList{"Fulano de Tal|NULL"});
    EXPECT_EQ(linhasSql("SELECT Evento, StatusCertificado FROM STATUS_C ORDER BY SeqEvento"),
              (QStringList{"INC|A", "SUS|S"}));
}

// One register saved as Windows-1252, as UTF-8 and as UTF-8 with a byte-order mark gives the same rows.
TEST_F(Importacao, TheSameRegisterSavedInEachEncodingGivesIdenticalRows) {
    QStringList tabelas;
    for (const EstruturaRegistro& e : EstruturasTxt::todas())
        tabelas << e.tabela;
    const auto linhasDoRegistro = [&] {
        QStringList todas;
        for (const QString& t : tabelas)
            todas += QStringList{t} + linhasSql("SELECT * FROM " + t + " ORDER BY rowid");
        return todas;
    };
    const QString texto = arquivoCompleto("C1").join("\r\n") + "\r\n";
    const struct {
        const char* caso;
        QByteArray bytes;
    } casos[] = {
        {"Windows-1252", Cp1252::encodeLossy(texto)},
        {"UTF-8", texto.toUtf8()},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + texto.toUtf8()},
    };
    QStringList primeiro;
    int n = 0;
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        const QString nome = QStringLiteral("TX-OCC1201511250%1.txt").arg(++n);
        escreveBytes(nome, c.bytes);
        prompts.clear();
        ASSERT_EQ(importa({nome}).first().situacao, SituacaoArquivo::Importado)
            << prompts.texts().join("\n").toStdString() << erroBD(nome).join("\n").toStdString();
        EXPECT_EQ(linhasSql("SELECT NomFantasia, EndLogr, SiglaUF, RazSocialEmp FROM EMPRESA"),
                  QStringList{"Ótima|Rua das Flores|SP|Indústria Ótima Ltda"});
        const QStringList linhas = linhasDoRegistro();
        if (primeiro.isEmpty())
            primeiro = linhas;
        else
            EXPECT_EQ(linhas, primeiro);
        for (const QString& t : tabelas)
            ASSERT_SQL(db, "DELETE FROM " + t);
    }
}

TEST_F(Importacao, FiftyOneRecordsAreOneBatchAndFiftyTwoAreTwo) {
    for (const int quantos : {51, 52}) {
        SCOPED_TRACE(quantos);
        const QString nome = quantos == 51 ? Nome1 : Nome2;
        escreve(nome, produtos(quantos));
        QList<int> lotes;
        ImportacaoTxt run(parametros());
        AcompanhamentoImportacao a;
        a.lote = [&](const QStringList& itens) {
            lotes << int(itens.size());
            EXPECT_EQ(itens.first(), "TProdutoStruct-OK");
        };
        run.setAcompanhamento(a);
        EXPECT_EQ(run.importa(dir(), {nome}).first().situacao, SituacaoArquivo::Importado);
        EXPECT_EQ(lotes, (quantos == 51 ? QList<int>{51} : QList<int>{51, 1}));
    }
    EXPECT_EQ(conta("PRODUTO"), 52); // the second file updated the first 51 and added one
    EXPECT_EQ(valor("SELECT count(*) FROM PRODUTO WHERE MarcaProd = 'Marca 52'").toInt(), 1);
}

TEST_F(Importacao, AnInvalidRecordInTheFirstBatchWritesNothingAndEveryInvalidRecordIsLogged) {
    escreve(Nome1, produtos(60, {3, 55}));
    QList<QStringList> lotes;
    ImportacaoTxt run(parametros());
    AcompanhamentoImportacao a;
    a.lote = [&](const QStringList& itens) { lotes << itens; };
    run.setAcompanhamento(a);
    const auto r = run.importa(dir(), {Nome1});
    EXPECT_EQ(r.first().situacao, SituacaoArquivo::Falhou);
    EXPECT_EQ(conta("PRODUTO"), 0);
    EXPECT_EQ(conta("CONTROLE_TXT"), 0);
    ASSERT_EQ(lotes.size(), 2);
    EXPECT_EQ(lotes[0][2], "TProdutoStruct-NO");
    EXPECT_EQ(lotes[1][3], "TProdutoStruct-NO");
    // Product n starts at line 5n - 4; Importado is its fourth line.
    EXPECT_EQ(erro(Nome1), (QStringList{
                               "O valor 2          não é válido  Verifique a linha 14 do arquivo txt.",
                               "O valor 2          não é válido  Verifique a linha 274 do arquivo txt.",
                           }));
    EXPECT_TRUE(erroBD(Nome1).isEmpty()); // nothing was run
    EXPECT_EQ(r.first().logsDeErro, QStringList{"ERROTX-OCC12015112501.txt"});
    EXPECT_EQ(prompts.texts(), (QStringList{Erro.arg(Nome1), ErrosNoProcessamento}));
    EXPECT_FALSE(existe("Log.txt"));
}

TEST_F(Importacao, AFileFailsOnEachRecordCheck) {
    const struct {
        const char* caso;
        QStringList arquivo;
        QString mensagem;
    } casos[] = {
        {"missing required field", Txt::certific("C1", " "),
         "O campo obrigatório StatusCertificado não foi encontrado. Verifique a linha 2 do arquivo txt."},
        {"validity before emission", Txt::certific("C1", "A", "10/11/2015", "09/11/2015"),
         "Data de validade não pode ser inferior a data de emissão do certificado! Verifique a linha 2 do "
         "arquivo "
         "txt."},
        {"brand of 106 characters", Txt::produto(QString(106, 'B')),
         "O Tamanho do conteudo do campo MARCAPROD " + QString(106, 'B') +
             " temporariamente não pode ser superior a 105 caracteres Verifique a linha 2 do arquivo txt."},
        {"CNPJ with punctuation", Txt::empresa("11.222.333/0001-81"),
         "O valor 11.222.333/0001-81 não pode conter nenhum tipo de formatação  Verifique a linha 2 do "
         "arquivo "
         "txt."},
        {"event AN", Txt::certific("C1") + Txt::statusC("C1", "AN "),
         "O valor AN  não é um EVENTO válido  Verifique a linha 8 do arquivo txt."},
    };
    int n = 0;
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        const QString nome = QStringLiteral("TX-OCC1201511250%1.txt").arg(n++);
        EXPECT_EQ(importaUm(nome, c.arquivo).situacao, SituacaoArquivo::Falhou);
        EXPECT_EQ(erro(nome), QStringList{c.mensagem});
        EXPECT_EQ(conta("CERTIFIC") + conta("PRODUTO") + conta("EMPRESA") + conta("STATUS_C"), 0);
    }
}

TEST_F(Importacao, ABrandOf105CharactersAndAForeignCompanyAreImported) {
    const QString marca(105, 'B');
    const auto r = importaUm(Nome1, Txt::produto(marca) + Txt::empresa("", "Acme Corp.", "Acme Corp.", "US"));
    EXPECT_EQ(r.situacao, SituacaoArquivo::Importado);
    EXPECT_EQ(linhasSql("SELECT MarcaProd FROM PRODUTO"), QStringList{marca});
    EXPECT_EQ(linhasSql("SELECT CodigoPais, IdEmpresa, RazSocialEmp, CGC FROM EMPRESA"),
              QStringList{"US|Acme Corp.|Acme Corp.|NULL"});
}

// Values lose their leading and trailing blanks only; a tab stays in the stored value.
TEST_F(Importacao, OnlyBlanksAreTrimmedFromTheStoredValues) {
    QStringList file = Txt::produto("  Marca\t  ", "\tModelo X ");
    EXPECT_EQ(importaUm(Nome1, file).situacao, SituacaoArquivo::Importado);
    EXPECT_EQ(linhasSql("SELECT MarcaProd, ModeloProd FROM PRODUTO"), QStringList{"Marca\t|\tModelo X"});
}

// Coded fields are checked in upper case and stored so: a lower-case acronym, status, event or
// country reaches the same certificate and company link, and the register reads them as its own.
TEST_F(Importacao, CodedFieldsAreStoredInUpperCase) {
    ASSERT_EQ(importaUm(Nome1, arquivoCompleto("C1")).situacao, SituacaoArquivo::Importado);
    const QStringList minusculas = {
        "[CERTIFIC]",
        colunas({{1, "occ1"},
                 {9, "C1"},
                 {39, "s"},
                 {40, "110"},
                 {50, "COMP"},
                 {60, "10/11/2015"},
                 {70, "10/11/2018"},
                 {80, "20/11/2015"}}),
        "Laboratório Central",
        "REL-77",
        "Fulano de Tal",
        "",
        "[STATUS_C]",
        colunas({{1, "occ1"}, {9, "C1"}, {39, "sus"}, {42, "2"}, {43, "s"}, {44, "20/11/2015"}}),
        "Suspenso a pedido",
        "[EMP_CERT]",
        colunas({{1, "Occ1"},
                 {9, "C1"},
                 {39, "br"},
                 {43, "s"},
                 {44, "1"},
                 {54, "10/11/2015"},
                 {64, "20/11/2015"}}),
        Txt::Cnpj,
        "[EVENTO_EMP]",
        colunas({{1, "occ1"}, {9, "C1"}, {39, "bR"}, {43, "sus"}, {46, "2"}, {47, "s"}, {48, "20/11/2015"}}),
        Txt::Cnpj,
        "Vínculo suspenso",
    };
    EXPECT_EQ(importaUm(Nome2, minusculas).situacao, SituacaoArquivo::Importado)
        << erroBD(Nome2).join("\n").toStdString() << erro(Nome2).join("\n").toStdString();
    EXPECT_EQ(linhasSql("SELECT SiglaCertificador, NumCertif, StatusCertificado FROM CERTIFIC"),
              QStringList{"OCC1|C1|S"});
    EXPECT_EQ(
        linhasSql("SELECT SiglaCertificador, Evento, StatusCertificado FROM STATUS_C ORDER BY SeqEvento"),
        (QStringList{"OCC1|INC|A", "OCC1|APR|A", "OCC1|SUS|S", "OCC1|APR|S"}));
    EXPECT_EQ(linhasSql("SELECT SiglaCertificador, CodigoPais, StatusEmpresa FROM EMP_CERT"),
              QStringList{"OCC1|BR|S"});
    EXPECT_EQ(
        linhasSql("SELECT SiglaCertificador, CodigoPais, Evento, StatusEmpresa FROM EVENTO_EMP ORDER BY "
                  "SeqEvento"),
        (QStringList{"OCC1|BR|INC|A", "OCC1|BR|SUS|S"}));
}

// A country, company role or class that the reference tables lack fails the file with its line.
TEST_F(Importacao, ACodeTheReferenceTablesLackFailsTheFile) {
    QStringList file = arquivoCompleto("C1");
    file[file.indexOf("[TIPO]") + 1].replace(48, 4, QStringLiteral("XX  "));
    EXPECT_EQ(importaUm(Nome1, file).situacao, SituacaoArquivo::Falhou);
    EXPECT_EQ(erro(Nome1),
              QStringList{"O valor XX   não é um país cadastrado  Verifique a linha 21 do arquivo txt."});
    EXPECT_EQ(conta("CERTIFIC") + conta("TIPO") + conta("EMPRESA"), 0);
}

TEST_F(Importacao, AnUpdateIsAcceptedOnlyWithItsEventWrittenAfterIt) {
    ASSERT_EQ(importaUm(Nome1, arquivoCompleto("C1")).situacao, SituacaoArquivo::Importado);
    QStringList alterado = Txt::certific("C1", "S");
    alterado[2] = ""; // LabEnsaio blank: written as NULL

    // Without the event: the unjustified-update report, and nothing changes.
    EXPECT_EQ(importaUm("TX-OCC12015112502.txt", alterado).situacao, SituacaoArquivo::Falhou);
    const QStringList relatorio = {
        "Foram identificadas atualizações para os registros abaixo sem a justificativa na tabela de "
        "histórico "
        "correspondente !",
        "",
        "NomeTabela: CERTIFIC",
        "TabelaHistorico: STATUS_C",
        "SiglaCertificador: OCC1",
        "NumCertif: C1",
        "historico: 0",
        "",
    };
    const QStringList bd = erroBD("TX-OCC12015112502.txt");
    ASSERT_GE(bd.size(), relatorio.size());
    EXPECT_EQ(bd.mid(bd.size() - relatorio.size()), relatorio);
    // The statement log, in its exact form.
    EXPECT_EQ(bd.mid(0, 25), (QStringList{
                                 "********* 25/11/2015 14:03:59 ***********",
                                 "Vai tentar executar",
                                 "Update CERTIFIC SET ",
                                 "DthUltAtualiz= :p0,",
                                 "UsuResp= :p1,",
                                 "StatusCertificado= :p4,",
                                 "IdClasseProd= :p5,",
                                 "IdClasseCertif= :p6,",
                                 "DataEmissao= :p7,",
                                 "DataValid= :p8,",
                                 "DthStatusCertificado= :p9,",
                                 "LabEnsaio= :p10,",
                                 "numRelEnsaio= :p11,",
                                 "Signatarios= :p12,",
                                 "Observacoes= :p13",
                                 "where SiglaCertificador= :p2 and Numcertif= :p3",
                                 "p0=25/11/2015 14:03:59",
                                 "p1=maria",
                                 "p2=OCC1",
                                 "p3=C1",
                                 "p4=S",
                                 "p5=110",
                                 "p6=COMP",
                                 "p7=10/11/2015",
                                 "p8=10/11/2018",
                             }));
    EXPECT_EQ(linhasSql("SELECT StatusCertificado, LabEnsaio FROM CERTIFIC"),
              QStringList{"A|Laboratório Central"});

    // With the event placed before the update: the update's "0" overwrites the event's "1".
    EXPECT_EQ(importaUm("TX-OCC12015112503.txt", Txt::statusC("C1", "SUS", "S") + alterado).situacao,
              SituacaoArquivo::Falhou);
    EXPECT_EQ(linhasSql("SELECT StatusCertificado FROM CERTIFIC"), QStringList{"A"});

    // With the event after it: accepted.
    prompts.clear();
    EXPECT_EQ(importaUm("TX-OCC12015112504.txt", alterado + Txt::statusC("C1", "SUS", "S")).situacao,
              SituacaoArquivo::Importado)
        << prompts.texts().join("\n").toStdString();
    EXPECT_EQ(linhasSql("SELECT StatusCertificado, LabEnsaio FROM CERTIFIC"), QStringList{"S|NULL"});
    EXPECT_EQ(linhasSql("SELECT Evento, StatusCertificado, Justificativa FROM STATUS_C ORDER BY SeqEvento"),
              (QStringList{"INC|A|Historico gerado pelo sistema", "APR|A|Historico gerado pelo sistema",
                           "SUS|S|Alteração pedida pelo cliente", "APR|S|Historico gerado pelo sistema"}));
    EXPECT_EQ(conta("CTR_HISTORICO"), 0);
}

TEST_F(Importacao, OneUnitsEventDoesNotJustifyAnotherUnitsUpdate) {
    const QStringList base = Txt::certific("C1") + Txt::empresa() + Txt::empCert("C1") + Txt::produto() +
                             Txt::unidade("U1", "C1") + Txt::unidade("U2", "C1");
    ASSERT_EQ(importaUm(Nome1, base).situacao, SituacaoArquivo::Importado);
    const QStringList u1 = Txt::unidade("U1", "C1", "Galpão 2");
    EXPECT_EQ(importaUm(Nome2, u1 + Txt::statusU("U2", "C1")).situacao, SituacaoArquivo::Falhou);
    EXPECT_TRUE(erroBD(Nome2).contains("NumSerieProd: U1"));
    EXPECT_EQ(importaUm("TX-OCC12015112503.txt", u1 + Txt::statusU("U1", "C1")).situacao,
              SituacaoArquivo::Importado);
    EXPECT_EQ(linhasSql("SELECT NumSerieProd, LocalInstalacao FROM UNIDADE ORDER BY 1"),
              (QStringList{"U1|Galpão 2", "U2|Galpão 1"}));
}

TEST_F(Importacao, ALineWhoseCompanyIsNotLinkedToItsCertificateFailsTheFile) {
    QStringList file = Txt::certific("C1") + Txt::empresa() + Txt::empresa(Cnpj2, Cnpj2, "Outra SA") +
                       Txt::empCert("C1") + Txt::produto() + Txt::tipo("C1", "Marca", "Modelo X", Cnpj2);
    EXPECT_EQ(importaUm(Nome1, file).situacao, SituacaoArquivo::Falhou);
    const QStringList relatorio = {
        "Foram identificadas empresas informadas nas tabelas TIPO, LOTE ou UNIDADE, que não estão na tabela "
        "EMP_CERT  !",
        "",
        "Nome_da_Tabela: TIPO",
        "NumCertif: C1",
        "MarcaProd: Marca",
        "ModeloProd: Modelo X",
        "CodigoPais: BR",
        "IdEmpresa: 44555666000181",
        "-------------------------------------------------------------",
    };
    const QStringList bd = erroBD(Nome1);
    ASSERT_GE(bd.size(), relatorio.size());
    EXPECT_EQ(bd.mid(bd.size() - relatorio.size()), relatorio);
    // The statement log of an insert.
    const int produto = int(bd.indexOf("Insert into PRODUTO"));
    ASSERT_GE(produto, 2);
    EXPECT_EQ(bd.mid(produto - 2, 28), (QStringList{
                                           "********* 25/11/2015 14:03:59 ***********",
                                           "Vai tentar executar",
                                           "Insert into PRODUTO",
                                           "(",
                                           "DthUltAtualiz,",
                                           "UsuResp,",
                                           "MarcaProd,",
                                           "ModeloProd,",
                                           "Importado,",
                                           "CodEANUPC,",
                                           "DescrProd",
                                           ")",
                                           "values (",
                                           ":p0 ,",
                                           ":p1 ,",
                                           ":p2 ,",
                                           ":p3 ,",
                                           ":p4 ,",
                                           ":p5 ,",
                                           ":p6",
                                           ")",
                                           "p0=25/11/2015 14:03:59",
                                           "p1=maria",
                                           "p2=Marca",
                                           "p3=Modelo X",
                                           "p4=0",
                                           "p5=7890000000001",
                                           "p6=Descrição do produto",
                                       }));
    EXPECT_EQ(bd.value(produto + 26), "Executou com Sucesso");
    EXPECT_EQ(bd.value(produto + 27), "*************************************");
    EXPECT_EQ(
        conta("CERTIFIC") + conta("TIPO") + conta("EMPRESA") + conta("STATUS_C") + conta("CTR_HISTORICO"), 0);
}

TEST_F(Importacao, ALineWhoseProductDoesNotExistFailsTheFile) {
    QStringList file =
        Txt::certific("C1") + Txt::empresa() + Txt::empCert("C1") + Txt::tipo("C1", "Sem Cadastro");
    EXPECT_EQ(importaUm(Nome1, file).situacao, SituacaoArquivo::Falhou);
    const QStringList bd = erroBD(Nome1);
    const QStringList relatorio = {
        "Foram identificados registros cujo certificado, produto, empresa ou item não existe na base de "
        "dados !",
        "",
        "Tabela: TIPO",
        "Não existe em: PRODUTO",
        "MarcaProd: Sem Cadastro",
        "ModeloProd: Modelo X",
        "Importado: 0",
        "-------------------------------------------------------------",
    };
    ASSERT_GE(bd.size(), relatorio.size());
    EXPECT_EQ(bd.mid(bd.size() - relatorio.size()), relatorio);
    EXPECT_EQ(conta("CERTIFIC"), 0);
}

TEST_F(Importacao, AnEventOfACertificateThatDoesNotExistFailsTheFile) {
    EXPECT_EQ(importaUm(Nome1, Txt::statusC("NAOEXISTE", "ALT")).situacao, SituacaoArquivo::Falhou);
    EXPECT_TRUE(erroBD(Nome1).contains(QStringLiteral("Não existe em: CERTIFIC")));
    EXPECT_EQ(conta("STATUS_C"), 0);
}

TEST_F(Importacao, AStatusDateBeforeTheIssueDateIsRefusedAndTheIssueDateItselfAccepted) {
    QStringList file = Txt::certific("C1") + Txt::empresa() + Txt::empCert("C1") + Txt::produto() +
                       Txt::tipo("C1", "Marca", "Modelo X", Txt::Cnpj, "A", "09/11/2015");
    EXPECT_EQ(importaUm(Nome1, file).situacao, SituacaoArquivo::Falhou);
    EXPECT_TRUE(
        erroBD(Nome1).contains("Não foi possível fazer a inclusão pois a data DthStatusProduto é inferior a "
                               "data emissão ou superior a data do sistema!"));
    // Today (25/11/2015) and the issue date are both inside.
    file = Txt::certific("C1") + Txt::empresa() + Txt::empCert("C1") + Txt::produto() +
           Txt::tipo("C1", "Marca", "Modelo X", Txt::Cnpj, "A", "25/11/2015");
    EXPECT_EQ(importaUm(Nome2, file).situacao, SituacaoArquivo::Importado);
}

// A new certificate's row is bounded by the issue date the register held before it (none), so its
// insert runs and is logged; its inclusion event is then bounded by the issue date just written and
// refused. The log shows both, in that order.
TEST_F(Importacao, AnInclusionEventBeforeTheIssueDateIsRefusedAfterTheLoggedInsertOfItsRow) {
    const auto r = importaUm(Nome1, Txt::certific("C1", "A", "10/11/2015", "10/11/2018", "09/11/2015"));
    EXPECT_EQ(r.situacao, SituacaoArquivo::Falhou);
    const QStringList bd = erroBD(Nome1);
    const int insercao = int(bd.indexOf("Insert into CERTIFIC"));
    ASSERT_GE(insercao, 2) << bd.join("\n").toStdString();
    EXPECT_EQ(bd.mid(insercao - 2, 2),
              (QStringList{"********* 25/11/2015 14:03:59 ***********", "Vai tentar executar"}));
    EXPECT_TRUE(bd.contains("p9=09/11/2015"));
    const int sucesso = int(bd.indexOf("Executou com Sucesso", insercao));
    ASSERT_GT(sucesso, insercao);
    EXPECT_EQ(
        bd.mid(sucesso),
        (QStringList{"Executou com Sucesso", "*************************************",
                     "Não foi possível fazer a inclusão pois a data DthStatusCertificado é inferior a data "
                     "emissão ou superior a data do sistema!"}));
    EXPECT_EQ(conta("CERTIFIC") + conta("STATUS_C"), 0);
}

TEST_F(Importacao, TheSameFileTwiceIsRefusedTheSecondTime) {
    ASSERT_EQ(importaUm(Nome1, produtos(1)).situacao, SituacaoArquivo::Importado);
    prompts.clear();
    const auto r = importa({Nome1});
    EXPECT_EQ(r.first().situacao, SituacaoArquivo::Recusado);
    EXPECT_EQ(prompts.texts(), QStringList{"Existe registro de importação para " + Nome1});
    EXPECT_EQ(conta("CONTROLE_TXT"), 1);
    // Names are compared exactly: "_" is no wildcard.
    ASSERT_SQL(db, QStringLiteral("UPDATE CONTROLE_TXT SET NomeArquivo = 'TX-OCC1201511250_.txt'"));
    escreve(Nome2, produtos(2));
    EXPECT_EQ(importa({Nome2}).first().situacao, SituacaoArquivo::Importado);
}

TEST_F(Importacao, AWrongAcronymOrANameOfSeventeenCharactersIsRefusedWithoutLogs) {
    for (const QString nome : {"TX-OUTRA2015112501.txt", "TX-0123456789.txt", "TX-occ12015112501.txt"}) {
        SCOPED_TRACE(nome.toStdString());
        prompts.clear();
        const auto r = importaUm(nome, produtos(1));
        EXPECT_EQ(r.situacao, SituacaoArquivo::Recusado);
        EXPECT_EQ(prompts.texts(),
                  QStringList{"Não foi possível validar a sigla do Certificador informada no nome "
                              "do arquivo txt"});
        EXPECT_FALSE(existe("ERRO" + nome.left(nome.size() - 4) + ".txt"));
    }
    EXPECT_EQ(conta("PRODUTO"), 0);
}

TEST_F(Importacao, AnUnknownOriginHasNoTableToLookTheAcronymUp) {
    escreve(Nome1, produtos(1));
    auto p = parametros();
    p.origem = QStringLiteral("KAVORELFISCALIZACAO");
    ImportacaoTxt run(p);
    EXPECT_EQ(run.importa(dir(), {Nome1}).first().situacao, SituacaoArquivo::Recusado);
    EXPECT_EQ(prompts.texts(),
              QStringList{"Não foi possível validar a sigla do Certificador a tabela de pesquiza não "
                          "foi informada"});
}

TEST_F(Importacao, AnInvalidHeaderIsWarnedAndTheOtherRecordsAreImported) {
    escreve(Nome1, QStringList{"[PRODUTOS]", "x"} + produtos(1));
    QStringList avisos;
    ImportacaoTxt run(parametros());
    AcompanhamentoImportacao a;
    a.aviso = [&](const QString& t) { avisos << t; };
    run.setAcompanhamento(a);
    EXPECT_EQ(run.importa(dir(), {Nome1}).first().situacao, SituacaoArquivo::Importado);
    EXPECT_EQ(avisos, QStringList{"Foi encontrado um header inválido -->[PRODUTOS] Verifique a linha 1"});
    EXPECT_EQ(conta("PRODUTO"), 1);
}

TEST_F(Importacao, OnlyTheFilesOwnCompleteCertificatesAreMarkedCompleteAndApproved) {
    ASSERT_EQ(importaUm(Nome1, arquivoCompleto("C0")).situacao, SituacaoArquivo::Importado);
    // Its approval was withdrawn by a later edit in the register.
    ASSERT_SQL(db, QStringLiteral("UPDATE CERTIFIC SET Aprovado = 0"));
    QStringList file = Txt::certific("C2") + Txt::empCert("C2") + Txt::tipo("C2") + Txt::docNormTipo("C2") +
                       Txt::certific("C3") + Txt::empCert("C3");
    ASSERT_EQ(importaUm(Nome2, file).situacao, SituacaoArquivo::Importado)
        << prompts.texts().join("\n").toStdString();
    EXPECT_EQ(linhasSql("SELECT NumCertif, Completo, Aprovado FROM CERTIFIC ORDER BY NumCertif"),
              (QStringList{"C0|1|0", "C2|1|1", "C3|0|0"}));
    EXPECT_EQ(linhasSql("SELECT NumCertif FROM STATUS_C WHERE Evento = 'APR' ORDER BY NumCertif, SeqEvento"),
              (QStringList{"C0", "C2"}));
}

TEST_F(Importacao, WithoutTheApprovalPermissionCertificatesAreMarkedCompleteOnly) {
    escreve(Nome1, arquivoCompleto("C1"));
    EXPECT_EQ(importa({Nome1}, false).first().situacao, SituacaoArquivo::Importado);
    EXPECT_EQ(linhasSql("SELECT Completo, Aprovado FROM CERTIFIC"), QStringList{"1|0"});
    EXPECT_EQ(valor("SELECT count(*) FROM STATUS_C WHERE Evento = 'APR'").toInt(), 0);
}

TEST_F(Importacao, EachFileStartsWithEmptyLogsAndTheErrorsAreListedByName) {
    escreve(Nome1, produtos(2, {1}));
    escreve(Nome2, produtos(3, {3}));
    ImportacaoTxt run(parametros());
    const auto r = run.importa(dir(), {Nome1, Nome2});
    ASSERT_EQ(r.size(), 2);
    EXPECT_EQ(erro(Nome1),
              QStringList{"O valor 2          não é válido  Verifique a linha 4 do arquivo txt."});
    EXPECT_EQ(erro(Nome2),
              QStringList{"O valor 2          não é válido  Verifique a linha 14 do arquivo txt."});
    prompts.clear();
    run.mostraErros();
    EXPECT_EQ(
        prompts.texts(),
        QStringList{"Ocorreram erros na IMPORTAÇÃO do(s) arquivo(s) TXT(s) e a rotina gerou o(s) arquivo(s) "
                    "ERROTX-OCC12015112501.txt, ERROTX-OCC12015112502.txt, no mesmo diretório do(s) arquivos "
                    "TXT processados."});
}

TEST_F(Importacao, AnOlderErrorLogIsReplaced) {
    escreve(Nome1, produtos(1, {1}));
    escreve("ERROTX-OCC12015112501.txt", {"antigo"});
    importa({Nome1});
    EXPECT_EQ(erro(Nome1),
              QStringList{"O valor 2          não é válido  Verifique a linha 4 do arquivo txt."});
}

TEST_F(Importacao, TheFilesOfADirectoryAreTheTxFilesInAlphabeticalOrder) {
    escreve(Nome2, {});
    escreve(Nome1, {});
    escreve("OUTRO.txt", {});
    escreve("TX-nota.doc", {});
    EXPECT_EQ(ImportacaoTxt::arquivosDoDiretorio(dir()), (QStringList{Nome1, Nome2}));
}

// The sample file of docs/howto-importacao.md imports as the how-to says.
TEST_F(Importacao, TheSampleFileOfTheHowToImports) {
    const QString amostra = QStringLiteral(TARVENDIX_SOURCE_DIR "/docs/exemplos/") + Nome1;
    ASSERT_TRUE(QFile::copy(amostra, QDir(dir()).filePath(Nome1)));
    ASSERT_EQ(importa({Nome1}).first().situacao, SituacaoArquivo::Importado)
        << prompts.texts().join("\n").toStdString();
    EXPECT_EQ(
        linhasSql("SELECT NumCertif, LabEnsaio, Signatarios, Observacoes, Completo, Aprovado FROM CERTIFIC"),
        QStringList{
            "CERT-2015-001|Laboratório de Ensaios Elétricos|Ana Souza; João Lima|Certificação inicial|1|1"});
    EXPECT_EQ(
        linhasSql("SELECT IdDocNorm, IdClasseCertif, IdClasseServ, SiglaCertificador, NumCertif, CodigoPais, "
                  "IdEmpresa, DthEntDNS, Status_DNS, DthStatusDNS FROM DOC_NORM_SERV"),
        QStringList{"2001|SERV|10|OCC1|CERT-2015-001|BR|11222333000181|2015-11-10T00:00:00.000|A|"
                    "2015-11-10T00:00:00.000"});
    EXPECT_EQ(linhasSql("SELECT Evento, Status_DNS FROM STATUS_DNS"), QStringList{"INC|A"});
    EXPECT_EQ(linhasSql("SELECT IdClasseServ, Observacoes FROM SERVICO"),
              QStringList{"10|Instalação em obra"});
    EXPECT_EQ(linhasSql("SELECT EndCidade, Telefone FROM EMPRESA"), QStringList{"São Paulo|(11) 5555-0000"});
    for (const char* eventos :
         {"STATUS_C", "EVENTO_EMP", "STATUS_DNCP", "STATUS_T", "STATUS_DNT", "STATUS_S"})
        EXPECT_GE(conta(QString::fromLatin1(eventos)), 1) << eventos;
}

// The lines of a certificate are bounded by its issue date as the file leaves it, even when the file
// changes that date after earlier lines of the same certificate.
TEST_F(Importacao, LinesAfterACertificatesNewIssueDateAreBoundedByIt) {
    ASSERT_EQ(importaUm(Nome1, arquivoCompleto("C1")).situacao, SituacaoArquivo::Importado);
    const QStringList file =
        Txt::produto("Outra") + Txt::tipo("C1", "Marca", "Modelo X", Txt::Cnpj, "A", "12/11/2015") +
        Txt::certific("C1", "A", "01/11/2015") + Txt::statusC("C1") +
        Txt::tipo("C1", "Outra", "Modelo X", Txt::Cnpj, "A", "05/11/2015") + Txt::statusT("C1");
    EXPECT_EQ(importaUm(Nome2, file).situacao, SituacaoArquivo::Importado)
        << erroBD(Nome2).join("\n").toStdString();
    EXPECT_EQ(linhasSql("SELECT MarcaProd, DthStatusProduto FROM TIPO ORDER BY 1"),
              (QStringList{"Marca|2015-11-12T00:00:00.000", "Outra|2015-11-05T00:00:00.000"}));
}

TEST_F(Importacao, TheConsoleRunPrintsEachFilesOutcomeAndTheErrorLogs) {
    escreve(Nome1, produtos(1));
    escreve(Nome2, produtos(1, {1}));
    escreve("TX-OUTRA2015112503.txt", produtos(1));
    QString texto;
    QTextStream saida(&texto);
    EXPECT_EQ(importaDiretorio(parametros(), dir(), saida), 1);
    EXPECT_EQ(texto, Nome1 + ": importado\n" + Nome2 + ": falhou (ERROTX-OCC12015112502.txt)\n" +
                         "TX-OUTRA2015112503.txt: recusado\n");
    EXPECT_EQ(conta("PRODUTO"), 1);

    QTemporaryDir vazio;
    texto.clear();
    EXPECT_EQ(importaDiretorio(parametros(), vazio.path(), saida), 2);
}

// A statement the database refuses is logged with its failure block and shown; the file is rolled back.
TEST_F(Importacao, AFailedStatementIsLoggedShownAndRolledBack) {
    // Every value passes the record checks; the database itself refuses the company link.
    ASSERT_SQL(db, QStringLiteral("CREATE TEMP TRIGGER recusa_vinculo BEFORE INSERT ON EMP_CERT BEGIN "
                                  "SELECT RAISE(ABORT, 'EMP_CERT.IdPapelEmp: papel recusado'); END"));
    EXPECT_EQ(importaUm(Nome1, Txt::certific("C1") + Txt::empresa() + Txt::empCert("C1")).situacao,
              SituacaoArquivo::Falhou);
    const QStringList bd = erroBD(Nome1);
    const int falha = int(bd.indexOf(QStringLiteral("--------------FALHA NA EXECUÇÃO!------------------")));
    ASSERT_GE(falha, 0);
    EXPECT_EQ(bd.value(falha + 1), "********* 25/11/2015 14:03:59 ***********");
    EXPECT_EQ(bd.value(falha + 2), "Insert into EMP_CERT");
    EXPECT_TRUE(bd.contains("p6=1"));
    EXPECT_TRUE(bd.contains("EMP_CERT.IdPapelEmp: papel recusado"));
    EXPECT_EQ(bd.last(), "*************************************");
    ASSERT_FALSE(prompts.shown().isEmpty());
    EXPECT_EQ(prompts.shown().first().kind, PromptKind::Error);
    EXPECT_TRUE(prompts.shown().first().text.contains("IdPapelEmp"))
        << prompts.shown().first().text.toStdString();
    EXPECT_EQ(conta("CERTIFIC") + conta("EMPRESA") + conta("EMP_CERT") + conta("STATUS_C"), 0);
}
