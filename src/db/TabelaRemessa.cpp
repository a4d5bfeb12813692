#include "TabelaRemessa.h"

namespace {

QStringList cols(const char* list) {
    QStringList out;
    for (const QString& name : QString::fromUtf8(list).split(QLatin1Char(','), Qt::SkipEmptyParts))
        out.append(name.trimmed());
    return out;
}

struct Linha {
    const char* nome;
    const char* rotulo;
    const char* chave;
    const char* chaveE; // empty: the key
    const char* comparadas;
    EscopoRemessa escopo;
};

// The exchanged tables in batch order: name, progress text, key, shorter exclusion key, compared
// columns, scope.
constexpr Linha Linhas[] = {
    {"Empresa", "Verificando tabela de Empresa", "CodigoPais, IdEmpresa", "",
     "CGC, RazSocialEmp, NomFantasia, EndLogr, EndNum, EndCompl, EndCEP, EndBairro, EndCidade, SiglaUF, "
     "Telefone, Fax, Email, TipoPessoa, CPF, NomPessoaFisica, DthUltAtualiz, UsuResp",
     EscopoRemessa::Empresa},
    {"Evento_Emp", "Verificando tabela de Eventos da Empresa",
     "SiglaCertificador, NumCertif, CodigoPais, IdEmpresa, SeqEvento", "",
     "Evento, Justificativa, HistoricoSis, StatusEmpresa, DthStatusEmpresa, DthUltAtualiz, UsuResp",
     EscopoRemessa::Certificado},
    {"Produto", "Verificando tabela de Produto", "MarcaProd, ModeloProd, Importado", "",
     "CodEANUPC, DescrProd, DthUltAtualiz, UsuResp", EscopoRemessa::Produto},
    {"Certific", "Verificando tabela de Cetificados", "SiglaCertificador, NumCertif", "",
     "StatusCertificado, IdClasseProd, IdClasseCertif, DataEmissao, DataValid, LabEnsaio, NumRelEnsaio, "
     "Signatarios, Observacoes, Completo, Aprovado, DthStatusCertificado, DthUltAtualiz, UsuResp",
     EscopoRemessa::Certific},
    {"Emp_Cert", "Verificando tabela de Empresas Certificadas",
     "SiglaCertificador, NumCertif, CodigoPais, IdEmpresa", "",
     "StatusEmpresa, IdPapelEmp, DthEntEmpresa, DthStatusEmpresa, DthUltAtualiz, UsuResp",
     EscopoRemessa::Certificado},
    {"Servico", "Verificando tabela de Serviço",
     "IdClasseServ, NumCertif, SiglaCertificador, CodigoPais, IdEmpresa", "",
     "DthEntCertif, StatusServico, DthStatusServico, Observacoes, DthUltAtualiz, UsuResp",
     EscopoRemessa::Certificado},
    {"Lote", "Verificando tabela de Lote",
     "NumLote, NumCertif, SiglaCertificador, MarcaProd, ModeloProd, Importado", "",
     "CodigoPais, IdEmpresa, DthEntCertif, StatusLote, DthStatusLote, QuantLote, DataFabrLote, DataValLote, "
     "NumProfInvoice, DthUltAtualiz, UsuResp",
     EscopoRemessa::Certificado},
    {"Unidade", "Verificando tabela de Unidade",
     "NumSerieProd, NumCertif, SiglaCertificador, MarcaProd, ModeloProd, Importado", "",
     "CodigoPais, IdEmpresa, LocalInstalacao, EndBairro, EndCidade, EndCEP, SiglaUF, DthEntCertif, "
     "StatusUnidade, DthStatusUnidade, Observacoes, DthUltAtualiz, UsuResp",
     EscopoRemessa::Certificado},
    {"Tipo", "Verificando tabela de Tipo", "NumCertif, SiglaCertificador, MarcaProd, ModeloProd, Importado",
     "", "CodigoPais, IdEmpresa, DthEntCertif, StatusProduto, DthStatusProduto, DthUltAtualiz, UsuResp",
     EscopoRemessa::Certificado},
    {"Status_S", "Verificando tabela de Status de Serviço",
     "SeqEvento, IdClasseServ, NumCertif, SiglaCertificador, CodigoPais, IdEmpresa", "",
     "Evento, Justificativa, HistoricoSis, Status_S, DthStatusServico, DthUltAtualiz, UsuResp",
     EscopoRemessa::Certificado},
    {"Status_C", "Verificando tabela de Status do Certificado", "SiglaCertificador, NumCertif, SeqEvento", "",
     "Evento, Justificativa, HistoricoSis, StatusCertificado, DthStatusCertificado, DthUltAtualiz, UsuResp",
     EscopoRemessa::Certificado},
    {"Status_L", "Verificando tabela de Status de Lotes",
     "NumLote, SeqEvento, NumCertif, SiglaCertificador, MarcaProd, ModeloProd, Importado",
     "NumLote, SiglaCertificador, NumCertif, SeqEvento",
     "Evento, Justificativa, HistoricoSis, Status_L, DthStatus_L, DthUltAtualiz, UsuResp",
     EscopoRemessa::Certificado},
    {"Status_U", "Verificando tabela de Status de Unidade",
     "NumSerieProd, SeqEvento, NumCertif, SiglaCertificador, MarcaProd, ModeloProd, Importado",
     "NumSerieProd, SiglaCertificador, NumCertif, SeqEvento",
     "Evento, Justificativa, HistoricoSis, StatusUnidade, DthStatusUnidade, DthUltAtualiz, UsuResp",
     EscopoRemessa::Certificado},
    {"Status_T", "Verificando tabela de Status de Tipo",
     "SeqEvento, NumCertif, SiglaCertificador, MarcaProd, ModeloProd, Importado",
     "SiglaCertificador, NumCertif, SeqEvento",
     "Evento, Justificativa, HistoricoSis, StatusProduto, DthStatusProduto, DthUltAtualiz, UsuResp",
     EscopoRemessa::Certificado},
    {"doc_norm_cert_produto", "Verificando tabela de Doc. Normat. de Cert. Produto",
     "SiglaCertificador, NumCertif, IdClasseCertif, IdClasseProd, IdDocNorm", "",
     "DthEntDNCP, Status_DNCP, DthStatusDNCP, DthUltAtualiz, UsuResp", EscopoRemessa::Certificado},
    {"doc_norm_cert_servico", "Verificando tabela de Doc. Normat. de Cert. Serviço",
     "SiglaCertificador, NumCertif, IdClasseCertif, IdClasseServ, IdDocNorm", "",
     "DthEntDNCS, Status_DNCS, DthStatusDNCS, DthUltAtualiz, UsuResp", EscopoRemessa::Certificado},
    {"doc_norm_serv", "Verificando tabela de Doc. Norm. Serviço",
     "IdDocNorm, IdClasseCertif, IdClasseServ, NumCertif, SiglaCertificador, CodigoPais, IdEmpresa", "",
     "DthEntDNS, Status_DNS, DthStatusDNS, DthUltAtualiz, UsuResp", EscopoRemessa::Certificado},
    {"doc_norm_unidade", "Verificando tabela de Doc. Norm. Unidade",
     "NumSerieProd, SiglaCertificador, NumCertif, MarcaProd, ModeloProd, Importado, IdClasseCertif, "
     "IdClasseProd, IdDocNorm",
     "", "DthEntDNU, Status_DNU, DthStatusDNU, DthUltAtualiz, UsuResp", EscopoRemessa::Certificado},
    {"doc_norm_lote", "Verificando tabela de Doc. Norm. Lote",
     "NumLote, SiglaCertificador, NumCertif, MarcaProd, ModeloProd, Importado, IdClasseCertif, IdClasseProd, "
     "IdDocNorm",
     "", "DthEntDNL, Status_DNL, DthStatusDNL, DthUltAtualiz, UsuResp", EscopoRemessa::Certificado},
    {"doc_norm_tipo", "Verificando tabela de Doc. Norm. Tipo",
     "SiglaCertificador, NumCertif, MarcaProd, ModeloProd, Importado, IdClasseCertif, IdClasseProd, "
     "IdDocNorm",
     "", "DthEntDNT, Status_DNT, DthStatusDNT, DthUltAtualiz, UsuResp", EscopoRemessa::Certificado},
    {"status_dncs", "Verificando tabela de Status Doc Norm. Cert. Serviço",
     "SiglaCertificador, NumCertif, IdClasseCertif, IdClasseServ, IdDocNorm, SeqEvento", "",
     "Justificativa, HistoricoSis, Status_DNCS, DthStatusDNCS, DthUltAtualiz, UsuResp",
     EscopoRemessa::Certificado},
    {"status_dncp", "Verificando tabela de Status Doc Norm. Cert. Produto",
     "SiglaCertificador, NumCertif, IdClasseCertif, IdClasseProd, IdDocNorm, SeqEvento", "",
     "Justificativa, HistoricoSis, Status_DNCP, DthStatusDNCP, DthUltAtualiz, UsuResp",
     EscopoRemessa::Certificado},
    {"status_dns", "Verificando tabela de Status Doc. Norm. Serviço",
     "IdDocNorm, IdClasseCertif, IdClasseServ, NumCertif, SiglaCertificador, CodigoPais, IdEmpresa, "
     "SeqEvento",
     "", "Justificativa, HistoricoSis, Status_DNS, DthStatusDNS, DthUltAtualiz, UsuResp",
     EscopoRemessa::Certificado},
    {"status_dnl", "Verificando tabela de Status Doc. Norm. Lote",
     "NumLote, SiglaCertificador, NumCertif, MarcaProd, ModeloProd, Importado, IdClasseCertif, IdClasseProd, "
     "IdDocNorm, SeqEvento",
     "NumLote, SiglaCertificador, NumCertif, IdClasseCertif, IdClasseProd, IdDocNorm, SeqEvento",
     "Justificativa, HistoricoSis, Status_DNL, DthStatusDNL, DthUltAtualiz, UsuResp",
     EscopoRemessa::Certificado},
    {"status_dnt", "Verificando tabela de Status Doc. Norm. Tipo",
     "SiglaCertificador, NumCertif, MarcaProd, ModeloProd, Importado, IdClasseCertif, IdClasseProd, "
     "IdDocNorm, "
     "SeqEvento",
     "SiglaCertificador, NumCertif, IdClasseCertif, IdClasseProd, IdDocNorm, SeqEvento",
     "Justificativa, HistoricoSis, Status_DNT, DthStatusDNT, DthUltAtualiz, UsuResp",
     EscopoRemessa::Certificado},
    {"status_dnu", "Verificando tabela de Status Doc Norma. Unidade",
     "NumSerieProd, SiglaCertificador, NumCertif, MarcaProd, ModeloProd, Importado, IdClasseCertif, "
     "IdClasseProd, IdDocNorm, SeqEvento",
     "NumSerieProd, SiglaCertificador, NumCertif, IdClasseCertif, IdClasseProd, IdDocNorm, SeqEvento",
     "Justificativa, HistoricoSis, Status_DNU, DthStatusDNU, DthUltAtualiz, UsuResp",
     EscopoRemessa::Certificado},
    {"CONFIG_LOCAL", "Verificando tabela de configuração", "SiglaCertificador", "",
     "NomeOCC, DirLocalSincr, DirLocalTransf, DirLocalRecepAux, EndKavorelEnvio, EndKavorelResult, "
     "EndKavorelOrigAux, LoginFTP, SenhaFTP, EndSMTPHost, EndSMTPPort, EndSMTPUsuario, EndSMTPEMailReply, "
     "EndSMTPUsuReply",
     EscopoRemessa::Tabela},
    {"SIGNATARIOS", "Verificando tabela de configuração", "ID_Signatario, SiglaCertificador", "",
     "Signatario, Default_s", EscopoRemessa::Tabela},
    {"USU_LOCAL", "Verificando tabela de configuração", "SiglaUsu, SiglaCertificador", "",
     "NomeUsu, SenhaUsu, AcConfigOCC, AcConfigDir, AcCadastraUsu, AcManBase, AcContRemessas, AcAtualTabAux, "
     "AcAprovCertific",
     EscopoRemessa::Tabela},
};

QList<TabelaRemessa> monta() {
    QList<TabelaRemessa> tabelas;
    for (const Linha& linha : Linhas) {
        TabelaRemessa t;
        t.Nome = QString::fromUtf8(linha.nome);
        t.Rotulo = QString::fromUtf8(linha.rotulo);
        t.chave = cols(linha.chave);
        t.chaveE = *linha.chaveE ? cols(linha.chaveE) : t.chave;
        t.comparadas = cols(linha.comparadas);
        t.escopo = linha.escopo;
        tabelas.append(t);
    }
    return tabelas;
}

} // namespace

QString TabelaRemessa::nomeConsulta(ConsultaRemessa consulta) const {
    const QString nome = Nome == Nome.toUpper() ? Nome.toLower() : Nome;
    return QStringLiteral("Qr") + nome + sufixoConsulta(consulta);
}

QString sufixoArquivo(ConsultaRemessa consulta) {
    return sufixoConsulta(consulta == ConsultaRemessa::T ? ConsultaRemessa::I : consulta);
}

QString sufixoConsulta(ConsultaRemessa consulta) {
    switch (consulta) {
    case ConsultaRemessa::I:
        return QStringLiteral("_I");
    case ConsultaRemessa::A:
        return QStringLiteral("_A");
    case ConsultaRemessa::E:
        return QStringLiteral("_E");
    case ConsultaRemessa::T:
        return QStringLiteral("_T");
    }
    return {};
}

const QList<TabelaRemessa>& TabelasRemessa() {
    static const QList<TabelaRemessa> tabelas = monta();
    return tabelas;
}
