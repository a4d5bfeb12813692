#include "CodigosReferencia.h"
#include "ImportFixture.h"
#include "TArquivoImportacao.h"

#include <QBuffer>

namespace {

// Reads a whole file from memory: the records and the warnings, with "Log.txt" in a scratch directory.
class Leitura : public ::testing::Test {
protected:
    TestHome home;
    QSqlDatabase db = home.openDatabase();
    CodigosReferencia referencias = [this] {
        loadSampleReference(db, "OCC1");
        return CodigosReferencia::carrega(db);
    }();
    QTemporaryDir pasta;
    LogImportacao log{pasta.path()};
    ManualClock clock{QDateTime(QDate(2015, 11, 25), QTime(14, 3, 59))};
    std::vector<std::unique_ptr<TDataStruct>> registros;
    QStringList avisos;
    int linhas = 0;

    void le(const QByteArray& bytes) {
        QBuffer buffer;
        buffer.setData(bytes);
        ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
        ContextoImportacao ctx{db, "OCC1", "maria", &clock, &log, nullptr};
        ctx.referencias = &referencias;
        TArquivoImportacao leitor(ctx);
        ASSERT_TRUE(leitor.abre(&buffer));
        linhas = leitor.numeroLinhas();
        while (!leitor.fimDeArquivo())
            if (auto r = leitor.LeProximoRegistro())
                registros.push_back(std::move(r));
        avisos = leitor.avisos();
    }
    void le(const QStringList& linhasTexto) { le(Cp1252::encodeLossy(linhasTexto.join("\r\n") + "\r\n")); }
    QString campo(int registro, const char* nome) {
        const TDataStruct& r = *registros.at(registro);
        return r.item(r.estrutura().indice(nome)).valor;
    }
    QStringList mensagens() {
        QStringList l = LogImportacao::le(log.caminhoLog()).split("\r\n");
        l.removeAll(QString());
        return l;
    }
};

} // namespace

TEST(NomeArquivo, TheAcronymLiesBetweenTxAndTheLastFourteenCharacters) {
    const struct {
        const char* nome;
        const char* sigla;
    } casos[] = {
        {"TX-ABCDEFGH0123456789.txt", "ABCDEFGH"},
        {"TX-OCC12015112501.txt", "OCC1"},
        {"TX-A0123456789.txt", "A"},
        {"TX-0123456789.txt", ""}, // 17 characters
        {"TX-123456789.txt", ""},
    };
    for (const auto& c : casos)
        EXPECT_EQ(ImportacaoTxt::siglaDoNome(c.nome), c.sigla) << c.nome;
}

TEST_F(Leitura, ACertificateSpansFiveLinesAndTrailingCarriageReturnsNeverEnterAValue) {
    le(Txt::certific("CERT-1"));
    ASSERT_EQ(registros.size(), 1u);
    EXPECT_EQ(linhas, 6);
    EXPECT_EQ(campo(0, "SiglaCertificador"), "OCC1    ");
    EXPECT_EQ(campo(0, "Numcertif").trimmed(), "CERT-1");
    EXPECT_EQ(campo(0, "DthStatusCertificado"), "10/11/2015"); // the line ends here: no CR
    EXPECT_EQ(campo(0, "LabEnsaio"), "Laboratório Central");
    EXPECT_EQ(campo(0, "numRelEnsaio"), "REL-77");
    EXPECT_EQ(campo(0, "Signatarios"), "Fulano de Tal");
    EXPECT_EQ(campo(0, "Observacoes"), "");
    EXPECT_EQ(registros[0]->item(registros[0]->estrutura().indice("Signatarios")).linha, 5);
    EXPECT_TRUE(registros[0]->valido()) << mensagens().join("\n").toStdString();
    EXPECT_TRUE(avisos.isEmpty());
}

TEST_F(Leitura, AHeaderWithARemarkStillOpensItsRecordAndLinesOutsideRecordsAreWarned) {
    QStringList file = {"comentário solto", ""};
    file += Txt::produto();
    file[2] = "[PRODUTO] produtos novos";
    le(file);
    ASSERT_EQ(registros.size(), 1u);
    EXPECT_EQ(registros[0]->estrutura().classe, "TProdutoStruct");
    EXPECT_EQ(avisos, (QStringList{"Linha não importada-->comentário solto", "Linha não importada-->"}));
}

TEST_F(Leitura, AnUnknownHeaderIsReportedWithItsLineAndTheNextRecordIsStillRead) {
    QStringList file = {"[DESCONHECIDO]", "dados"};
    file += Txt::produto();
    le(file);
    ASSERT_EQ(registros.size(), 1u);
    EXPECT_EQ(registros[0]->estrutura().classe, "TProdutoStruct");
    EXPECT_EQ(avisos,
              (QStringList{"Foi encontrado um header inválido -->[DESCONHECIDO] Verifique a linha 1"}));
}

TEST_F(Leitura, ALineShorterThanAFieldsStartGivesAnEmptyValue) {
    le({"[PRODUTO]", "Marca", "Modelo", "1", "Descr"});
    ASSERT_EQ(registros.size(), 1u);
    EXPECT_EQ(campo(0, "Importado"), "1");
    EXPECT_EQ(campo(0, "CodEANUPC"), "");
    EXPECT_TRUE(registros[0]->valido());
}

TEST_F(Leitura, MissingLinesAtTheEndGiveEmptyValuesThatFailTheRequiredChecks) {
    le({"[PRODUTO]", "Marca"});
    ASSERT_EQ(registros.size(), 1u);
    EXPECT_FALSE(registros[0]->valido());
    EXPECT_EQ(mensagens(),
              (QStringList{
                  "O campo obrigatório ModeloProd não foi encontrado. Verifique a linha 3 do arquivo txt.",
                  "O campo obrigatório Importado não foi encontrado. Verifique a linha 4 do arquivo txt.",
              }));
}

TEST_F(Leitura, AHeaderRightAfterAHeaderStartsItsOwnRecord) {
    QStringList file = {"[PRODUTO]"};
    file += Txt::produto("Outra");
    le(file);
    ASSERT_EQ(registros.size(), 2u);
    EXPECT_FALSE(registros[0]->valido());
    EXPECT_TRUE(registros[1]->valido());
    EXPECT_EQ(campo(1, "MarcaProd"), "Outra");
}

// A header met where any data line of a record was due ends that record (its missing fields empty,
// so its own checks decide) and starts the next one.
TEST_F(Leitura, AHeaderOnAnyDataLineEndsTheRecordAndStartsTheNext) {
    QStringList certificado = Txt::certific("C1");
    certificado.removeLast(); // no remarks line
    le(certificado + Txt::statusC("C1") + QStringList{"[PRODUTO]", "Marca"} + Txt::produto("Outra"));
    ASSERT_EQ(registros.size(), 4u);
    EXPECT_EQ(registros[0]->estrutura().classe, "TCertificStruct");
    EXPECT_EQ(campo(0, "Signatarios"), "Fulano de Tal");
    EXPECT_EQ(campo(0, "Observacoes"), "");
    EXPECT_TRUE(registros[0]->valido()); // the remarks are optional
    EXPECT_EQ(registros[1]->estrutura().classe, "TStatusCStruct");
    EXPECT_EQ(campo(1, "Evento"), "ALT");
    EXPECT_EQ(campo(1, "Justificativa"), QString::fromUtf8("Alteração pedida pelo cliente"));
    EXPECT_TRUE(registros[1]->valido());
    // A product cut short by the next header fails its required fields, counted from where it stopped.
    EXPECT_FALSE(registros[2]->valido());
    EXPECT_EQ(campo(3, "MarcaProd"), "Outra");
    EXPECT_TRUE(registros[3]->valido());
    EXPECT_EQ(mensagens(),
              (QStringList{
                  "O campo obrigatório ModeloProd não foi encontrado. Verifique a linha 11 do arquivo txt.",
                  "O campo obrigatório Importado não foi encontrado. Verifique a linha 12 do arquivo txt.",
              }));
    EXPECT_TRUE(avisos.isEmpty()) << avisos.join("\n").toStdString();
    EXPECT_EQ(linhas, 15);
}

TEST_F(Leitura, TextIsReadAsWindows1252AndALoneLineFeedEndsALineToo) {
    QByteArray bytes = "[PRODUTO]\r\nA\xe7\xe3o\nModelo \x80\r\n0\r\n\r\n";
    le(bytes);
    ASSERT_EQ(registros.size(), 1u);
    EXPECT_EQ(campo(0, "MarcaProd"), QString::fromUtf8("Ação"));
    EXPECT_EQ(campo(0, "ModeloProd"), QString::fromUtf8("Modelo €"));
    EXPECT_EQ(linhas, 5);
}

// The same record saved as Windows-1252, as UTF-8 and as UTF-8 with a byte-order mark reads the
// same: the mark hides no header and an accented letter takes one column, not two.
TEST_F(Leitura, AUtf8FileWithOrWithoutAByteOrderMarkReadsAsItsWindows1252Twin) {
    const QStringList empresa = Txt::empresa();
    const QString texto = empresa.join("\r\n") + "\r\n";
    const struct {
        const char* caso;
        QByteArray bytes;
    } casos[] = {
        {"Windows-1252", Cp1252::encodeLossy(texto)},
        {"UTF-8", texto.toUtf8()},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + texto.toUtf8()},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        registros.clear();
        le(c.bytes);
        ASSERT_EQ(registros.size(), 1u);
        EXPECT_TRUE(avisos.isEmpty()) << avisos.join("\n").toStdString();
        EXPECT_EQ(linhas, 5);
        EXPECT_EQ(campo(0, "NomFantasia").trimmed(), QString::fromUtf8("Ótima"));
        EXPECT_EQ(campo(0, "EndLogr").trimmed(), "Rua das Flores");
        EXPECT_EQ(campo(0, "SiglaUF"), "SP");
        EXPECT_EQ(campo(0, "RazSocialEmp"), QString::fromUtf8("Indústria Ótima Ltda"));
        EXPECT_TRUE(registros[0]->valido()) << mensagens().join("\n").toStdString();
    }
}

// Columns are counted in characters, a character beyond the 16-bit range included; bytes that are
// not UTF-8 are Windows-1252 even when some of them would pass for UTF-8.
TEST_F(Leitura, ColumnsAreCountedInCharactersAndOtherBytesAreWindows1252) {
    const QString clave = QString::fromUtf8("\xF0\x9D\x84\x9E"); // U+1D11E, two UTF-16 units
    le(("[PRODUTO]\r\nMarca\r\nModelo " + clave + "\r\n0         " + clave + "123\r\n").toUtf8());
    ASSERT_EQ(registros.size(), 1u);
    EXPECT_EQ(campo(0, "ModeloProd"), "Modelo " + clave);
    EXPECT_EQ(campo(0, "Importado"), "0         ");
    EXPECT_EQ(campo(0, "CodEANUPC"), clave + "123");

    registros.clear();
    le(QByteArray("[PRODUTO]\r\nA\xC3\xA7\xC3\xA3o\r\nModelo \xE7\r\n0\r\n"));
    ASSERT_EQ(registros.size(), 1u);
    EXPECT_EQ(campo(0, "MarcaProd"), QString::fromUtf8("AÃ§Ã£o"));
    EXPECT_EQ(campo(0, "ModeloProd"), QString::fromUtf8("Modelo ç"));
}

TEST(Datas, TheFilesDateFormAndTheProgramsTimeStamps) {
    const struct {
        const char* texto;
        QDateTime esperado; // invalid: refused
    } casos[] = {
        {"10/11/2015", QDateTime(QDate(2015, 11, 10), QTime(0, 0))},
        {" 10/11/2015  ", QDateTime(QDate(2015, 11, 10), QTime(0, 0))},
        {"25/11/2015 14:03:59", QDateTime(QDate(2015, 11, 25), QTime(14, 3, 59))},
        {"29/02/2016", QDateTime(QDate(2016, 2, 29), QTime(0, 0))},
        {"29/02/2015", {}},
        {"1/2/2015", {}},
        {"10-11-2015", {}},
        {"aa/bb/cccc", {}},
        {"10/11/15", {}},
        {"25/11/2015 24:00:00", {}},
        {"+1/11/2015", {}},
    };
    for (const auto& c : casos) {
        const auto lido = TDataStruct::converteData(QString::fromLatin1(c.texto));
        EXPECT_EQ(lido.value_or(QDateTime()), c.esperado) << c.texto;
        EXPECT_EQ(lido.has_value(), c.esperado.isValid()) << c.texto;
    }
}

TEST(Datas, TimeStampsAreWrittenInTheFormTheyAreReadBack) {
    for (const QDateTime& quando :
         {QDateTime(QDate(2015, 11, 25), QTime(14, 3, 59)), QDateTime(QDate(2001, 1, 2), QTime(0, 0, 7)),
          QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59))}) {
        const QString texto = TDataStruct::textoDataHora(quando);
        EXPECT_EQ(texto, quando.toString(QStringLiteral("dd/MM/yyyy hh:mm:ss")));
        EXPECT_EQ(TDataStruct::converteData(texto).value_or(QDateTime()), quando);
    }
}
