#include "CodigosReferencia.h"
#include "ImportFixture.h"
#include "TArquivoImportacao.h"

#include <QBuffer>

namespace {

struct Caso {
    const char* nome;
    QStringList registro;
    QStringList mensagens; // empty: the record is valid
};

QString trocaColunas(QString linha, int coluna, const QString& texto) {
    if (linha.size() < coluna - 1 + texto.size())
        linha += QString(coluna - 1 + texto.size() - linha.size(), QLatin1Char(' '));
    linha.replace(coluna - 1, texto.size(), texto);
    return linha;
}

// The record with line `n` (0 is the header) changed at a column.
QStringList com(QStringList registro, int n, int coluna, const QString& texto) {
    registro[n] = trocaColunas(registro[n], coluna, texto);
    return registro;
}
QStringList comLinha(QStringList registro, int n, const QString& linha) {
    registro[n] = linha;
    return registro;
}

const QString V = QStringLiteral(" Verifique a linha ");
const QString A = QStringLiteral(" do arquivo txt.");

QList<Caso> casos() {
    const QString marca105 = QString(105, QLatin1Char('M'));
    const QString marca106 = QString(106, QLatin1Char('M'));
    return {
        {"a valid certificate", Txt::certific("C1"), {}},
        {"lower-case status", com(Txt::certific("C1"), 1, 39, "s"), {}},
        {"status X",
         com(Txt::certific("C1"), 1, 39, "X"),
         {"O valor X não é uma situação válida " + V + "2" + A}},
        {"missing required field",
         com(Txt::certific("C1"), 1, 50, "          "),
         {"O campo obrigatório IdClasseCertif não foi encontrado." + V + "2" + A}},
        {"wrong acronym",
         com(Txt::certific("C1"), 1, 1, "OUTRA   "),
         {"Erro na SIGLA do Certtificador!" + V + "2" + A}},
        {"lower-case acronym", com(Txt::certific("C1"), 1, 1, "occ1"), {}},
        {"integer",
         com(Txt::certific("C1"), 1, 40, "11O       "),
         {"O valor 11O        não é um integer válido" + V + "2" + A}},
        {"date",
         com(Txt::certific("C1"), 1, 60, "31/02/2015"),
         {"O valor 31/02/2015 não é uma data válida" + V + "2" + A}},
        {"validity before emission",
         com(Txt::certific("C1"), 1, 70, "09/11/2015"),
         {"Data de validade não pode ser inferior a data de emissão do certificado!" + V + "2" + A}},
        {"validity equal to emission", com(Txt::certific("C1"), 1, 70, "10/11/2015"), {}},
        {"emission in the future skips the validity comparison",
         com(com(Txt::certific("C1"), 1, 60, "26/11/2015"), 1, 70, "01/01/2015"),
         {"Data não pode ser superior a data do sistema!" + V + "2" + A}},
        {"validity in 2079", com(Txt::certific("C1"), 1, 70, "31/12/2079"), {}},
        {"validity in 2080",
         com(Txt::certific("C1"), 1, 70, "01/01/2080"),
         {"Data não pode ter ano igual ou superior a 2080!" + V + "2" + A}},
        {"lot validity in 2079", Txt::lote("L1", "C1", "31/12/2079"), {}},
        {"lot without validity", Txt::lote("L1", "C1"), {}},
        {"lot validity in 2080",
         Txt::lote("L1", "C1", "01/01/2080"),
         {"Data não pode ter ano igual ou superior a 2080!" + V + "2" + A}},
        {"emission today", com(Txt::certific("C1"), 1, 60, "25/11/2015"), {}},
        {"event INC", Txt::statusC("C1", "INC"), {}},
        {"event 'AN '", Txt::statusC("C1", "AN "), {"O valor AN  não é um EVENTO válido " + V + "2" + A}},
        {"event 'A'", Txt::statusC("C1", "A  "), {"O valor A   não é um EVENTO válido " + V + "2" + A}},
        {"lower-case event", Txt::statusC("C1", "rea"), {}},
        // Only blanks are trimmed: a tab is part of the value.
        {"status that is a tab",
         com(Txt::certific("C1"), 1, 39, "\t"),
         {"O valor \t não é uma situação válida " + V + "2" + A}},
        {"integer followed by a tab",
         com(Txt::certific("C1"), 1, 40, "110\t      "),
         {"O valor 110\t       não é um integer válido" + V + "2" + A}},
        {"Importado after a tab",
         comLinha(Txt::produto(), 3, "\t0"),
         {"O valor \t0 não é um integer válido" + V + "4" + A, "O valor \t0 não é válido " + V + "4" + A}},
        {"HistoricoSis 3",
         Txt::statusC("C1", "ALT", "A", "20/11/2015", "3"),
         {"O valor 3 não é válido " + V + "2" + A}},
        {"Importado 2",
         Txt::produto("Marca", "Modelo", "2"),
         {"O valor 2          não é válido " + V + "4" + A}},
        {"brand of 105 characters", Txt::produto(marca105), {}},
        {"brand of 106 characters",
         Txt::produto(marca106),
         {"O Tamanho do conteudo do campo MARCAPROD " + marca106 +
          " temporariamente não pode ser superior a 105 caracteres" + V + "2" + A}},
        {"model of 106 characters",
         Txt::produto("Marca", marca106),
         {"O Tamanho do conteudo do campo MODELOPROD " + marca106 +
          " temporariamente não pode ser superior a 105 caracteres" + V + "3" + A}},
        {"a Brazilian company", Txt::empresa(), {}},
        {"CNPJ with punctuation",
         Txt::empresa("11.222.333/0001-81"),
         {"O valor 11.222.333/0001-81 não pode conter nenhum tipo de formatação " + V + "2" + A}},
        {"invalid CNPJ",
         Txt::empresa("11222333000182"),
         {"O valor 11222333000182 não é um CGC válido " + V + "2" + A}},
        {"IdEmpresa with punctuation",
         Txt::empresa(Txt::Cnpj, "11.222.333/0001-81"),
         {"O valor 11.222.333/0001-81 não pode conter nenhum tipo de formatação " + V + "3" + A}},
        {"IdEmpresa an invalid CNPJ",
         Txt::empresa(Txt::Cnpj, "11222333000199"),
         {"O valor 11222333000199 não é um CGC válido para o campo IDEMPRESA " + V + "3" + A}},
        {"a person", Txt::empresa("", Txt::Cpf, "José da Silva", "BR", "2", Txt::Cpf), {}},
        {"a person with an invalid CPF",
         Txt::empresa("", Txt::Cpf, "José", "BR", "2", "52998224726"),
         {"O valor 52998224726 não é um CPF válido " + V + "5" + A}},
        {"a person whose IdEmpresa is no CPF",
         Txt::empresa("", "12345", "José", "BR", "2", Txt::Cpf),
         {"O valor 12345 não é um CPF válido para o campo IDEMPRESA " + V + "3" + A}},
        {"TipoPessoa 3",
         Txt::empresa(Txt::Cnpj, Txt::Cnpj, "Ótima", "BR", "3"),
         {"O valor 3 não é um TIPOPESSOA válido " + V + "5" + A}},
        {"a foreign company", Txt::empresa("", "Acme Corp.", "Acme Corp.", "US"), {}},
        {"a foreign company whose id is not its name",
         Txt::empresa("", "ACME", "Acme Corp.", "US"),
         {"O valor ACME não pode ser diferente da RAZÃO SOCIAL para empresas estrangeiras " + V + "3" + A}},
        // Codes of the reference tables: countries compared in upper case, roles and classes exactly.
        {"lower-case country", Txt::empCert("C1", Txt::Cnpj, "br"), {}},
        {"unknown country",
         Txt::empCert("C1", Txt::Cnpj, "XX"),
         {"O valor XX   não é um país cadastrado " + V + "2" + A}},
        {"unknown country of a company",
         Txt::empresa("", "Acme Corp.", "Acme Corp.", "ZZ"),
         {"O valor ZZ   não é um país cadastrado " + V + "2" + A}},
        {"unknown company role",
         com(Txt::empCert("C1"), 1, 44, "9         "),
         {"O valor 9          não é um papel de empresa cadastrado " + V + "2" + A}},
        {"unknown class of certificate",
         com(Txt::certific("C1"), 1, 50, "NADA      "),
         {"O valor NADA       não é uma classe de certificado cadastrada " + V + "2" + A}},
        {"class of certificate in lower case",
         com(Txt::certific("C1"), 1, 50, "comp      "),
         {"O valor comp       não é uma classe de certificado cadastrada " + V + "2" + A}},
        {"unknown class of product",
         com(Txt::certific("C1"), 1, 40, "999       "),
         {"O valor 999        não é uma classe de produto cadastrada " + V + "2" + A}},
        {"class of product of a line's document", Txt::docNormTipo("C1"), {}},
        {"unknown class of service",
         {"[SERVICO]",
          colunas({{1, "99"},
                   {11, "C1"},
                   {41, "OCC1"},
                   {49, "BR"},
                   {53, "10/11/2015"},
                   {63, "A"},
                   {64, "10/11/2015"}}),
          Txt::Cnpj, ""},
         {"O valor 99         não é uma classe de serviço cadastrada " + V + "2" + A}},
        {"a service",
         {"[SERVICO]",
          colunas({{1, "10"},
                   {11, "C1"},
                   {41, "OCC1"},
                   {49, "BR"},
                   {53, "10/11/2015"},
                   {63, "A"},
                   {64, "10/11/2015"}}),
          Txt::Cnpj, ""},
         {}},
        {"an event without justification",
         comLinha(Txt::statusC("C1"), 2, "   "),
         {"O campo obrigatório Justificativa não foi encontrado." + V + "3" + A}},
    };
}

void PrintTo(const Caso& caso, std::ostream* os) {
    *os << caso.nome;
}

class Validacao : public ::testing::TestWithParam<Caso> {};

} // namespace

TEST_P(Validacao, MessagesOfTheChecks) {
    const Caso& caso = GetParam();
    TestHome home;
    const QSqlDatabase db = home.openDatabase();
    loadSampleReference(db, "OCC1");
    const CodigosReferencia referencias = CodigosReferencia::carrega(db);
    QTemporaryDir pasta;
    LogImportacao log(pasta.path());
    ManualClock clock(QDateTime(QDate(2015, 11, 25), QTime(14, 3, 59)));
    QBuffer buffer;
    buffer.setData(Cp1252::encodeLossy(caso.registro.join("\r\n") + "\r\n"));
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    ContextoImportacao ctx{db, "OCC1", "maria", &clock, &log, nullptr};
    ctx.referencias = &referencias;
    TArquivoImportacao leitor(ctx);
    ASSERT_TRUE(leitor.abre(&buffer));
    std::unique_ptr<TDataStruct> registro;
    while (!leitor.fimDeArquivo() && !registro)
        registro = leitor.LeProximoRegistro();
    ASSERT_TRUE(registro);
    QStringList mensagens = LogImportacao::le(log.caminhoLog()).split("\r\n");
    mensagens.removeAll(QString());
    EXPECT_EQ(mensagens, caso.mensagens);
    EXPECT_EQ(registro->valido(), caso.mensagens.isEmpty());
    // The program's own fields are filled.
    EXPECT_EQ(registro->valor("UsuResp"), "maria");
    EXPECT_EQ(registro->valor("DthUltAtualiz"), "25/11/2015 14:03:59");
}

INSTANTIATE_TEST_SUITE_P(Casos, Validacao, ::testing::ValuesIn(casos()), [](const auto& info) {
    QString nome = QString::fromLatin1(info.param.nome);
    for (QChar& c : nome)
        if (!c.isLetterOrNumber())
            c = QLatin1Char('_');
    return nome.toStdString();
});
