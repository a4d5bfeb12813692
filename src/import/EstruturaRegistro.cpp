#include "EstruturaRegistro.h"

#include <QHash>

bool comparaEmMaiusculas(Verificacao verificacao) {
    switch (verificacao) {
    case Verificacao::Sigla:
    case Verificacao::Situacao:
    case Verificacao::Evento:
    case Verificacao::Importado:
    case Verificacao::HistoricoSis:
    case Verificacao::TipoPessoa:
    case Verificacao::Pais:
        return true;
    default:
        return false;
    }
}

int EstruturaRegistro::indice(const QString& nome) const {
    // Looked up for every record: views, so nothing is copied.
    const QStringView procurado = QStringView(nome).trimmed();
    for (int i = 0; i < campos.size(); ++i)
        if (QStringView(campos[i].nome).trimmed().compare(procurado, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

namespace {

constexpr bool NL = true; // first field of a new line
constexpr bool MesmaLinha = false;
constexpr bool K = true; // key
constexpr bool R = true; // required
constexpr bool _ = false;
constexpr TipoCampo t = TipoCampo::Texto;
constexpr TipoCampo i = TipoCampo::Inteiro;
constexpr TipoCampo d = TipoCampo::Data;

// One row of a layout as the file documentation writes it: columns from-to, both included.
struct Linha {
    bool novaLinha;
    int de;
    int ate;
    const char* nome;
    TipoCampo tipo;
    bool chave;
    bool obrigatorio;
};

struct Tipo {
    const char* header;
    const char* classe;
    const char* tabela;
    const char* historico;
    const char* pai;
    std::initializer_list<Linha> linhas;
};

// The file layouts. Line 1 is the first line after the header; a row marked NL starts the next line.
// "[STATUS_DNU]" and "[STATUS_DNL]" leave columns 103-108 unread. "[DOC_NORM_SERVICO]" places its
// last five fields as its sister layout "[STATUS_DNS]" does (acronym 61-68, country 69-72).
const Tipo Tipos[] = {
    {"[CERTIFIC]",
     "TCertificStruct",
     "CERTIFIC",
     "STATUS_C",
     "",
     {{MesmaLinha, 1, 8, "SiglaCertificador", t, K, R},
      {MesmaLinha, 9, 38, "Numcertif", t, K, R},
      {MesmaLinha, 39, 39, "StatusCertificado", t, _, R},
      {MesmaLinha, 40, 49, "IdClasseProd", i, _, R},
      {MesmaLinha, 50, 59, "IdClasseCertif", t, _, R},
      {MesmaLinha, 60, 69, "DataEmissao", d, _, R},
      {MesmaLinha, 70, 79, "DataValid", d, _, R},
      {MesmaLinha, 80, 89, "DthStatusCertificado", d, _, R},
      {NL, 1, 255, "LabEnsaio", t, _, _},
      {NL, 1, 255, "numRelEnsaio", t, _, _},
      {NL, 1, 255, "Signatarios", t, _, _},
      {NL, 1, 255, "Observacoes", t, _, _}}},
    {"[STATUS_C]",
     "TStatusCStruct",
     "STATUS_C",
     "",
     "CERTIFIC",
     {{MesmaLinha, 1, 8, "SiglaCertificador", t, K, R},
      {MesmaLinha, 9, 38, "Numcertif", t, K, R},
      {MesmaLinha, 39, 41, "Evento", t, _, R},
      {MesmaLinha, 42, 42, "HistoricoSis", t, _, R},
      {MesmaLinha, 43, 43, "StatusCertificado", t, _, R},
      {MesmaLinha, 44, 53, "DthStatusCertificado", d, _, R},
      {NL, 1, 255, "Justificativa", t, _, R}}},
    {"[EMPRESA]",
     "TEmpresaStruct",
     "EMPRESA",
     "",
     "",
     {{MesmaLinha, 1, 4, "CodigoPais", t, K, R},
      {MesmaLinha, 5, 34, "CGC", t, _, _},
      {MesmaLinha, 35, 74, "NomFantasia", t, _, _},
      {MesmaLinha, 75, 124, "EndLogr", t, _, _},
      {MesmaLinha, 125, 134, "EndNum", t, _, _},
      {MesmaLinha, 135, 144, "EndCompl", t, _, _},
      {MesmaLinha, 145, 154, "EndCEP", t, _, _},
      {MesmaLinha, 155, 174, "EndBairro", t, _, _},
      {MesmaLinha, 175, 194, "EndCidade", t, _, _},
      {MesmaLinha, 195, 196, "SiglaUF", t, _, _},
      {MesmaLinha, 197, 216, "Telefone", t, _, _},
      {MesmaLinha, 217, 236, "Fax", t, _, _},
      {NL, 1, 255, "IdEmpresa", t, K, R},
      {NL, 1, 255, "RazSocialEmp", t, _, _},
      {NL, 1, 50, "Email", t, _, _},
      {MesmaLinha, 51, 51, "TipoPessoa", t, _, R},
      {MesmaLinha, 52, 62, "CPF", t, _, _},
      {MesmaLinha, 63, 122, "NomPessoaFisica", t, _, _}}},
    {"[EMP_CERT]",
     "TEmpCertStruct",
     "EMP_CERT",
     "EVENTO_EMP",
     "",
     {{MesmaLinha, 1, 8, "SiglaCertificador", t, K, R},
      {MesmaLinha, 9, 38, "Numcertif", t, K, R},
      {MesmaLinha, 39, 42, "CodigoPais", t, K, R},
      {MesmaLinha, 43, 43, "StatusEmpresa", t, _, R},
      {MesmaLinha, 44, 53, "IdPapelEmp", i, _, R},
      {MesmaLinha, 54, 63, "DthEntEmpresa", d, _, R},
      {MesmaLinha, 64, 73, "DthStatusEmpresa", d, _, R},
      {NL, 1, 255, "IdEmpresa", t, K, R}}},
    {"[EVENTO_EMP]",
     "TEventoEmpStruct",
     "EVENTO_EMP",
     "",
     "EMP_CERT",
     {{MesmaLinha, 1, 8, "SiglaCertificador", t, K, R},
      {MesmaLinha, 9, 38, "Numcertif", t, K, R},
      {MesmaLinha, 39, 42, "CodigoPais", t, K, R},
      {MesmaLinha, 43, 45, "Evento", t, _, R},
      {MesmaLinha, 46, 46, "HistoricoSis", t, _, R},
      {MesmaLinha, 47, 47, "StatusEmpresa", t, _, R},
      {MesmaLinha, 48, 57, "DthStatusEmpresa", d, _, R},
      {NL, 1, 255, "IdEmpresa", t, K, R},
      {NL, 1, 255, "justificativa", t, _, R}}},
    {"[DOC_NORM_CERT_PRODUTO]",
     "TDocNormCertProdutoStruct",
     "DOC_NORM_CERT_PRODUTO",
     "STATUS_DNCP",
     "",
     {{MesmaLinha, 1, 8, "SiglaCertificador", t, K, R},
      {MesmaLinha, 9, 38, "Numcertif", t, K, R},
      {MesmaLinha, 39, 48, "IdClasseCertif", t, K, R},
      {MesmaLinha, 49, 58, "IdClasseProd", i, K, R},
      {MesmaLinha, 59, 68, "IdDocNorm", i, K, R},
      {MesmaLinha, 69, 78, "DthEntDNCP", d, _, R},
      {MesmaLinha, 79, 79, "Status_DNCP", t, _, R},
      {MesmaLinha, 80, 89, "DthStatusDNCP", d, _, R}}},
    {"[STATUS_DNCP]",
     "TStatusDNCPStruct",
     "STATUS_DNCP",
     "",
     "DOC_NORM_CERT_PRODUTO",
     {{MesmaLinha, 1, 8, "SiglaCertificador", t, K, R},
      {MesmaLinha, 9, 38, "Numcertif", t, K, R},
      {MesmaLinha, 39, 48, "IdClasseCertif", t, K, R},
      {MesmaLinha, 49, 58, "IdClasseProd", i, K, R},
      {MesmaLinha, 59, 68, "IdDocNorm", i, K, R},
      {MesmaLinha, 69, 71, "Evento", t, _, R},
      {MesmaLinha, 72, 72, "HistoricoSis", t, _, R},
      {MesmaLinha, 73, 73, "Status_DNCP", t, _, R},
      {MesmaLinha, 74, 83, "DthStatusDNCP", d, _, R},
      {NL, 1, 255, "Justificativa", t, _, R}}},
    {"[DOC_NORM_CERT_SERVICO]",
     "TDocNormCertServicoStruct",
     "DOC_NORM_CERT_SERVICO",
     "STATUS_DNCS",
     "",
     {{MesmaLinha, 1, 8, "SiglaCertificador", t, K, R},
      {MesmaLinha, 9, 38, "Numcertif", t, K, R},
      {MesmaLinha, 39, 48, "IdDocNorm", i, K, R},
      {MesmaLinha, 49, 58, "IdClasseCertif", t, K, R},
      {MesmaLinha, 59, 68, "IdClasseServ", i, K, R},
      {MesmaLinha, 69, 78, "DthEntDNCS", d, _, R},
      {MesmaLinha, 79, 79, "Status_DNCS", t, _, R},
      {MesmaLinha, 80, 89, "DthStatusDNCS", d, _, R}}},
    {"[STATUS_DNCS]",
     "TStatusDNCSStruct",
     "STATUS_DNCS",
     "",
     "DOC_NORM_CERT_SERVICO",
     {{MesmaLinha, 1, 8, "SiglaCertificador", t, K, R},
      {MesmaLinha, 9, 38, "Numcertif", t, K, R},
      {MesmaLinha, 39, 48, "IdClasseCertif", t, K, R},
      {MesmaLinha, 49, 58, "IdClasseServ", i, K, R},
      {MesmaLinha, 59, 68, "IdDocNorm", i, K, R},
      {MesmaLinha, 69, 71, "Evento", t, _, R},
      {MesmaLinha, 72, 72, "HistoricoSis", t, _, R},
      {MesmaLinha, 73, 73, "Status_DNCS", t, _, R},
      {MesmaLinha, 74, 83, "DthStatusDNCS", d, _, R},
      {NL, 1, 255, "Justificativa", t, _, R}}},
    {"[PRODUTO]",
     "TProdutoStruct",
     "PRODUTO",
     "",
     "",
     {{MesmaLinha, 1, 255, "MarcaProd", t, K, R},
      {NL, 1, 255, "ModeloProd", t, K, R},
      {NL, 1, 10, "Importado", i, K, R},
      {MesmaLinha, 11, 138, "CodEANUPC", t, _, _},
      {NL, 1, 255, "DescrProd", t, _, _}}},
    {"[TIPO]",
     "TTipoStruct",
     "TIPO",
     "STATUS_T",
     "",
     {{MesmaLinha, 1, 30, "Numcertif", t, K, R},
      {MesmaLinha, 31, 38, "SiglaCertificador", t, K, R},
      {MesmaLinha, 39, 48, "Importado", i, K, R},
      {MesmaLinha, 49, 52, "CodigoPais", t, _, R},
      {MesmaLinha, 53, 62, "DthEntCertif", d, _, R},
      {MesmaLinha, 63, 63, "StatusProduto", t, _, R},
      {MesmaLinha, 64, 73, "DthStatusProduto", d, _, R},
      {NL, 1, 255, "MarcaProd", t, K, R},
      {NL, 1, 255, "ModeloProd", t, K, R},
      {NL, 1, 255, "IdEmpresa", t, _, R}}},
    {"[STATUS_T]",
     "TStatusTStruct",
     "STATUS_T",
     "",
     "TIPO",
     {{MesmaLinha, 1, 8, "SiglaCertificador", t, K, R},
      {MesmaLinha, 9, 38, "Numcertif", t, K, R},
      {MesmaLinha, 39, 48, "Importado", i, K, R},
      {MesmaLinha, 49, 51, "Evento", t, _, R},
      {MesmaLinha, 52, 52, "HistoricoSis", t, _, R},
      {MesmaLinha, 53, 53, "StatusProduto", t, _, R},
      {MesmaLinha, 54, 63, "DthStatusProduto", d, _, R},
      {NL, 1, 255, "MarcaProd", t, K, R},
      {NL, 1, 255, "ModeloProd", t, K, R},
      {NL, 1, 255, "justificativa", t, _, R}}},
    {"[DOC_NORM_TIPO]",
     "TDocNormTipoStruct",
     "DOC_NORM_TIPO",
     "STATUS_DNT",
     "",
     {{MesmaLinha, 1, 30, "Numcertif", t, K, R},
      {MesmaLinha, 31, 38, "SiglaCertificador", t, K, R},
      {MesmaLinha, 39, 48, "Importado", i, K, R},
      {MesmaLinha, 49, 58, "IdClasseCertif", t, K, R},
      {MesmaLinha, 59, 68, "IdClasseProd", i, K, R},
      {MesmaLinha, 69, 78, "IdDocNorm", i, K, R},
      {MesmaLinha, 79, 88, "DthEntDNT", d, _, R},
      {MesmaLinha, 89, 89, "Status_DNT", t, _, R},
      {MesmaLinha, 90, 99, "DthStatusDNT", d, _, R},
      {NL, 1, 255, "MarcaProd", t, K, R},
      {NL, 1, 255, "ModeloProd", t, K, R}}},
    {"[STATUS_DNT]",
     "TStatusDNTStruct",
     "STATUS_DNT",
     "",
     "DOC_NORM_TIPO",
     {{MesmaLinha, 1, 8, "SiglaCertificador", t, K, R},
      {MesmaLinha, 9, 38, "Numcertif", t, K, R},
      {MesmaLinha, 39, 48, "Importado", i, K, R},
      {MesmaLinha, 49, 58, "IdClasseCertif", t, K, R},
      {MesmaLinha, 59, 68, "IdClasseProd", i, K, R},
      {MesmaLinha, 69, 78, "IdDocNorm", i, K, R},
      {MesmaLinha, 79, 81, "Evento", t, _, R},
      {MesmaLinha, 82, 82, "HistoricoSis", t, _, R},
      {MesmaLinha, 83, 83, "Status_DNT", t, _, R},
      {MesmaLinha, 84, 93, "DthStatusDNT", d, _, R},
      {NL, 1, 255, "MarcaProd", t, K, R},
      {NL, 1, 255, "ModeloProd", t, K, R},
      {NL, 1, 255, "Justificativa", t, _, R}}},
    {"[UNIDADE]",
     "TUnidadeStruct",
     "UNIDADE",
     "STATUS_U",
     "",
     {{MesmaLinha, 1, 20, "NumSerieProd", t, K, R},
      {MesmaLinha, 21, 50, "Numcertif", t, K, R},
      {MesmaLinha, 51, 58, "SiglaCertificador", t, K, R},
      {MesmaLinha, 59, 68, "Importado", i, K, R},
      {MesmaLinha, 69, 72, "CodigoPais", t, _, R},
      {MesmaLinha, 73, 82, "DthEntCertif", d, _, R},
      {MesmaLinha, 83, 83, "StatusUnidade", t, _, R},
      {MesmaLinha, 84, 93, "DthStatusUnidade", d, _, R},
      {MesmaLinha, 94, 113, "EndBairro", t, _, _},
      {MesmaLinha, 114, 133, "EndCidade", t, _, _},
      {MesmaLinha, 134, 143, "EndCEP", t, _, _},
      {MesmaLinha, 144, 145, "SiglaUF", t, _, _},
      {NL, 1, 255, "MarcaProd", t, K, R},
      {NL, 1, 255, "ModeloProd", t, K, R},
      {NL, 1, 255, "IdEmpresa", t, _, R},
      {NL, 1, 255, "LocalInstalacao", t, _, _},
      {NL, 1, 255, "Observacoes", t, _, _}}},
    {"[STATUS_U]",
     "TStatusUStruct",
     "STATUS_U",
     "",
     "UNIDADE",
     {{MesmaLinha, 1, 20, "NumSerieProd", t, K, R},
      {MesmaLinha, 21, 50, "Numcertif", t, K, R},
      {MesmaLinha, 51, 58, "SiglaCertificador", t, K, R},
      {MesmaLinha, 59, 68, "Importado", i, K, R},
      {MesmaLinha, 69, 71, "Evento", t, _, R},
      {MesmaLinha, 72, 72, "HistoricoSis", t, _, R},
      {MesmaLinha, 73, 73, "StatusUnidade", t, _, R},
      {MesmaLinha, 74, 83, "DthStatusUnidade", d, _, R},
      {NL, 1, 255, "MarcaProd", t, K, R},
      {NL, 1, 255, "ModeloProd", t, K, R},
      {NL, 1, 255, "Justificativa", t, _, R}}},
    {"[DOC_NORM_UNIDADE]",
     "TDocNormUnidadeStruct",
     "DOC_NORM_UNIDADE",
     "STATUS_DNU",
     "",
     {{MesmaLinha, 1, 20, "NumSerieProd", t, K, R},
      {MesmaLinha, 21, 28, "SiglaCertificador", t, K, R},
      {MesmaLinha, 29, 58, "Numcertif", t, K, R},
      {MesmaLinha, 59, 68, "Importado", i, K, R},
      {MesmaLinha, 69, 78, "IdClasseCertif", t, K, R},
      {MesmaLinha, 79, 88, "IdClasseProd", i, K, R},
      {MesmaLinha, 89, 98, "IdDocNorm", i, K, R},
      {MesmaLinha, 99, 108, "DthEntDNU", d, _, R},
      {MesmaLinha, 109, 109, "Status_DNU", t, _, R},
      {MesmaLinha, 110, 119, "DthStatusDNU", d, _, R},
      {NL, 1, 255, "MarcaProd", t, K, R},
      {NL, 1, 255, "ModeloProd", t, K, R}}},
    {"[STATUS_DNU]",
     "TStatusDNUStruct",
     "STATUS_DNU",
     "",
     "DOC_NORM_UNIDADE",
     {{MesmaLinha, 1, 20, "NumSerieProd", t, K, R},
      {MesmaLinha, 21, 28, "SiglaCertificador", t, K, R},
      {MesmaLinha, 29, 58, "Numcertif", t, K, R},
      {MesmaLinha, 59, 68, "Importado", i, K, R},
      {MesmaLinha, 69, 78, "IdClasseCertif", t, K, R},
      {MesmaLinha, 79, 88, "IdClasseProd", i, K, R},
      {MesmaLinha, 89, 98, "IdDocNorm", i, K, R},
      {MesmaLinha, 99, 101, "Evento", t, _, R},
      {MesmaLinha, 102, 102, "HistoricoSis", t, _, R},
      {MesmaLinha, 109, 109, "Status_DNU", t, _, R},
      {MesmaLinha, 110, 119, "DthStatusDNU", d, _, R},
      {NL, 1, 255, "MarcaProd", t, K, R},
      {NL, 1, 255, "ModeloProd", t, K, R},
      {NL, 1, 255, "Justificativa", t, _, R}}},
    {"[LOTE]",
     "TLoteStruct",
     "LOTE",
     "STATUS_L",
     "",
     {{MesmaLinha, 1, 20, "numLote", t, K, R},
      {MesmaLinha, 21, 28, "SiglaCertificador", t, K, R},
      {MesmaLinha, 29, 58, "Numcertif", t, K, R},
      {MesmaLinha, 59, 68, "Importado", i, K, R},
      {MesmaLinha, 69, 72, "CodigoPais", t, _, R},
      {MesmaLinha, 73, 82, "DthEntCertif", d, _, R},
      {MesmaLinha, 83, 83, "StatusLote", t, _, R},
      {MesmaLinha, 84, 93, "DthStatusLote", d, _, R},
      {MesmaLinha, 94, 123, "QuantLote", t, _, R},
      {MesmaLinha, 124, 133, "DataFabrLote", d, _, _},
      {MesmaLinha, 134, 143, "DataValLote", d, _, _},
      {MesmaLinha, 144, 173, "NumProfInvoice", t, _, _},
      {NL, 1, 255, "MarcaProd", t, K, R},
      {NL, 1, 255, "ModeloProd", t, K, R},
      {NL, 1, 255, "IdEmpresa", t, _, R}}},
    {"[STATUS_L]",
     "TStatusLStruct",
     "STATUS_L",
     "",
     "LOTE",
     {{MesmaLinha, 1, 20, "numLote", t, K, R},
      {MesmaLinha, 21, 50, "Numcertif", t, K, R},
      {MesmaLinha, 51, 58, "SiglaCertificador", t, K, R},
      {MesmaLinha, 59, 68, "Importado", i, K, R},
      {MesmaLinha, 69, 71, "Evento", t, _, R},
      {MesmaLinha, 72, 72, "HistoricoSis", t, _, R},
      {MesmaLinha, 73, 73, "Status_L", t, _, R},
      {MesmaLinha, 74, 83, "DthStatus_L", d, _, R},
      {NL, 1, 255, "MarcaProd", t, K, R},
      {NL, 1, 255, "ModeloProd", t, K, R},
      {NL, 1, 255, "Justificativa", t, _, R}}},
    {"[DOC_NORM_LOTE]",
     "TDocNormLoteStruct",
     "DOC_NORM_LOTE",
     "STATUS_DNL",
     "",
     {{MesmaLinha, 1, 20, "numLote", t, K, R},
      {MesmaLinha, 21, 28, "SiglaCertificador", t, K, R},
      {MesmaLinha, 29, 58, "Numcertif", t, K, R},
      {MesmaLinha, 59, 68, "Importado", i, K, R},
      {MesmaLinha, 69, 78, "IdClasseCertif", t, K, R},
      {MesmaLinha, 79, 88, "IdClasseProd", i, K, R},
      {MesmaLinha, 89, 98, "IdDocNorm", i, K, R},
      {MesmaLinha, 99, 108, "DthEntDNL", d, _, R},
      {MesmaLinha, 109, 109, "Status_DNL", t, _, R},
      {MesmaLinha, 110, 119, "DthStatusDNL", d, _, R},
      {NL, 1, 255, "MarcaProd", t, K, R},
      {NL, 1, 255, "ModeloProd", t, K, R}}},
    {"[STATUS_DNL]",
     "TStatusDNLStruct",
     "STATUS_DNL",
     "",
     "DOC_NORM_LOTE",
     {{MesmaLinha, 1, 20, "numLote", t, K, R},
      {MesmaLinha, 21, 28, "SiglaCertificador", t, K, R},
      {MesmaLinha, 29, 58, "Numcertif", t, K, R},
      {MesmaLinha, 59, 68, "Importado", i, K, R},
      {MesmaLinha, 69, 78, "IdClasseCertif", t, K, R},
      {MesmaLinha, 79, 88, "IdClasseProd", i, K, R},
      {MesmaLinha, 89, 98, "IdDocNorm", i, K, R},
      {MesmaLinha, 99, 101, "Evento", t, _, R},
      {MesmaLinha, 102, 102, "HistoricoSis", t, _, R},
      {MesmaLinha, 109, 109, "Status_DNL", t, _, R},
      {MesmaLinha, 110, 119, "DthStatusDNL", d, _, R},
      {NL, 1, 255, "MarcaProd", t, K, R},
      {NL, 1, 255, "ModeloProd", t, K, R},
      {NL, 1, 255, "Justificativa", t, _, R}}},
    {"[SERVICO]",
     "TServicoStruct",
     "SERVICO",
     "STATUS_S",
     "",
     {{MesmaLinha, 1, 10, "IdClasseServ", i, K, R},
      {MesmaLinha, 11, 40, "Numcertif", t, K, R},
      {MesmaLinha, 41, 48, "SiglaCertificador", t, K, R},
      {MesmaLinha, 49, 52, "CodigoPais", t, K, R},
      {MesmaLinha, 53, 62, "DthEntCertif", d, _, R},
      {MesmaLinha, 63, 63, "StatusServico", t, _, R},
      {MesmaLinha, 64, 73, "DthStatusServico", d, _, R},
      {NL, 1, 255, "IdEmpresa", t, K, R},
      {NL, 1, 255, "Observacoes", t, _, _}}},
    {"[STATUS_S]",
     "TStatusSStruct",
     "STATUS_S",
     "",
     "SERVICO",
     {{MesmaLinha, 1, 10, "IdClasseServ", i, K, R},
      {MesmaLinha, 11, 40, "Numcertif", t, K, R},
      {MesmaLinha, 41, 48, "SiglaCertificador", t, K, R},
      {MesmaLinha, 49, 52, "CodigoPais", t, K, R},
      {MesmaLinha, 53, 55, "Evento", t, _, R},
      {MesmaLinha, 56, 56, "HistoricoSis", t, _, R},
      {MesmaLinha, 57, 57, "Status_S", t, _, R},
      {MesmaLinha, 58, 67, "DthStatusServico", d, _, R},
      {NL, 1, 255, "IdEmpresa", t, K, R},
      {NL, 1, 255, "Justificativa", t, _, R}}},
    {"[DOC_NORM_SERVICO]",
     "TDocNormServicoStruct",
     "DOC_NORM_SERV",
     "STATUS_DNS",
     "",
     {{MesmaLinha, 1, 10, "IdDocNorm", i, K, R},
      {MesmaLinha, 11, 20, "IdClasseCertif", t, K, R},
      {MesmaLinha, 21, 30, "IdClasseServ", i, K, R},
      {MesmaLinha, 31, 60, "Numcertif", t, K, R},
      {MesmaLinha, 61, 68, "SiglaCertificador", t, K, R},
      {MesmaLinha, 69, 72, "CodigoPais", t, K, R},
      {MesmaLinha, 73, 82, "DthEntDNS", d, _, R},
      {MesmaLinha, 83, 83, "Status_DNS", t, _, R},
      {MesmaLinha, 84, 93, "DthStatusDNS", d, _, R},
      {NL, 1, 255, "IdEmpresa", t, K, R}}},
    {"[STATUS_DNS]",
     "TStatusDNSStruct",
     "STATUS_DNS",
     "",
     "DOC_NORM_SERV",
     {{MesmaLinha, 1, 10, "IdDocNorm", i, K, R},
      {MesmaLinha, 11, 20, "IdClasseCertif", t, K, R},
      {MesmaLinha, 21, 30, "IdClasseServ", i, K, R},
      {MesmaLinha, 31, 60, "Numcertif", t, K, R},
      {MesmaLinha, 61, 68, "SiglaCertificador", t, K, R},
      {MesmaLinha, 69, 72, "CodigoPais", t, K, R},
      {MesmaLinha, 73, 75, "Evento", t, _, R},
      {MesmaLinha, 76, 76, "HistoricoSis", t, _, R},
      {MesmaLinha, 77, 77, "Status_DNS", t, _, R},
      {MesmaLinha, 78, 87, "DthStatusDNS", d, _, R},
      {NL, 1, 255, "IdEmpresa", t, K, R},
      {NL, 1, 255, "Justificativa", t, _, R}}},
};

// The check a field's name calls for.
Verificacao verificacaoDoNome(const QString& nome, bool empresa) {
    const QString n = nome.toUpper();
    if (nome == QLatin1String("SiglaCertificador"))
        return Verificacao::Sigla;
    if (nome == QLatin1String("DataEmissao"))
        return Verificacao::DataEmissao;
    if (nome == QLatin1String("DataValid"))
        return Verificacao::DataValid;
    if (nome == QLatin1String("DataValLote"))
        return Verificacao::DataValLote;
    if (n.startsWith(QLatin1String("STATUS")))
        return Verificacao::Situacao;
    if (n == QLatin1String("EVENTO"))
        return Verificacao::Evento;
    if (n == QLatin1String("IMPORTADO"))
        return Verificacao::Importado;
    if (n == QLatin1String("HISTORICOSIS"))
        return Verificacao::HistoricoSis;
    if (n == QLatin1String("MARCAPROD") || n == QLatin1String("MODELOPROD"))
        return Verificacao::TamanhoProduto;
    if (empresa && n == QLatin1String("TIPOPESSOA"))
        return Verificacao::TipoPessoa;
    if (n == QLatin1String("CODIGOPAIS"))
        return Verificacao::Pais;
    if (n == QLatin1String("IDPAPELEMP"))
        return Verificacao::PapelEmpresa;
    if (n == QLatin1String("IDCLASSECERTIF"))
        return Verificacao::ClasseCertificado;
    if (n == QLatin1String("IDCLASSEPROD"))
        return Verificacao::ClasseProduto;
    if (n == QLatin1String("IDCLASSESERV"))
        return Verificacao::ClasseServico;
    return Verificacao::Nenhuma;
}

DefinicaoCampo programa(const char* nome, TipoCampo tipo) {
    DefinicaoCampo c;
    c.nome = QString::fromLatin1(nome);
    c.tipo = tipo;
    return c;
}

EstruturaRegistro monta(const QString& header, const QString& classe, const QString& tabela,
                        const QString& historico, const QString& pai, std::initializer_list<Linha> linhas,
                        bool empresa) {
    EstruturaRegistro e{header, classe, tabela, historico, pai, empresa, {}};
    e.campos << programa("DthUltAtualiz", TipoCampo::DataHora) << programa("UsuResp", TipoCampo::Texto);
    for (const Linha& l : linhas) {
        DefinicaoCampo c;
        c.nome = QString::fromLatin1(l.nome);
        c.novaLinha = l.novaLinha;
        c.coluna = l.de;
        c.largura = l.ate - l.de + 1;
        c.tipo = l.tipo;
        c.chave = l.chave;
        c.obrigatorio = l.obrigatorio;
        c.verificacao = verificacaoDoNome(c.nome, empresa);
        c.maiusculas = comparaEmMaiusculas(c.verificacao);
        e.campos << c;
    }
    if (!pai.isEmpty()) {
        DefinicaoCampo seq = programa("SeqEvento", TipoCampo::Inteiro);
        seq.chave = true;
        seq.sequencia = true;
        e.campos << seq;
    }
    return e;
}

QList<EstruturaRegistro> montaTodas() {
    QList<EstruturaRegistro> todas;
    for (const Tipo& tipo : Tipos) {
        const QString tabela = QString::fromLatin1(tipo.tabela);
        todas << monta(QString::fromLatin1(tipo.header), QString::fromLatin1(tipo.classe), tabela,
                       QString::fromLatin1(tipo.historico), QString::fromLatin1(tipo.pai), tipo.linhas,
                       tabela == QLatin1String("EMPRESA"));
    }
    return todas;
}

EstruturaRegistro montaCtrHistorico() {
    // Every identification column is key, so one row stands for one item of one table; the unit's
    // serial number is among them, so one unit's history never justifies another unit's update.
    const struct {
        const char* nome;
        TipoCampo tipo;
    } colunas[] = {
        {"NomeTabela", t},   {"TabelaHistorico", t}, {"SiglaCertificador", t}, {"Numcertif", t},
        {"CodigoPais", t},   {"IdEmpresa", t},       {"IdClasseCertif", t},    {"IdClasseProd", i},
        {"IdClasseServ", i}, {"MarcaProd", t},       {"ModeloProd", t},        {"Importado", i},
        {"numLote", t},      {"NumSerieProd", t},    {"IdDocNorm", i},
    };
    EstruturaRegistro e{QString(),
                        QStringLiteral("TCtr_HistoricoStruct"),
                        QStringLiteral("CTR_HISTORICO"),
                        QString(),
                        QString(),
                        false,
                        {}};
    e.campos << programa("DthUltAtualiz", TipoCampo::DataHora) << programa("UsuResp", TipoCampo::Texto);
    for (const auto& c : colunas) {
        DefinicaoCampo campo = programa(c.nome, c.tipo);
        campo.chave = true;
        e.campos << campo;
    }
    DefinicaoCampo historico = programa("historico", t);
    historico.obrigatorio = true;
    e.campos << historico;
    return e;
}

} // namespace

namespace EstruturasTxt {

const QList<EstruturaRegistro>& todas() {
    static const QList<EstruturaRegistro> lista = montaTodas();
    return lista;
}

const EstruturaRegistro* porHeader(const QString& header) {
    for (const EstruturaRegistro& e : todas())
        if (e.header == header)
            return &e;
    return nullptr;
}

const EstruturaRegistro* porTabela(const QString& tabela) {
    for (const EstruturaRegistro& e : todas())
        if (e.tabela.compare(tabela, Qt::CaseInsensitive) == 0)
            return &e;
    return nullptr;
}

const EstruturaRegistro& ctrHistorico() {
    static const EstruturaRegistro ctr = montaCtrHistorico();
    return ctr;
}

} // namespace EstruturasTxt
