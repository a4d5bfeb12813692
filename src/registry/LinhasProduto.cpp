#include "LinhasProduto.h"

#include "Clock.h"
#include "DataDigitada.h"
#include "DbError.h"
#include "Empresas.h"
#include "Formats.h"
#include "Prompts.h"
#include "RegistraEvento.h"
#include "Session.h"
#include "Sql.h"
#include "TDMCertif.h"
#include "Transaction.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace {

using Coluna = std::pair<QString, QVariant>;

QVariant textOrNull(const QString& text) {
    return text.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(text);
}

QVariant dateOrNull(const QDate& date) {
    return Sql::dateTimeOrNull(date.isValid() ? Sql::dateValue(date) : QDateTime());
}

QString colunaStatus(TipoLinha tipo) {
    switch (tipo) {
    case TipoLinha::Tipo:
        return QStringLiteral("StatusProduto");
    case TipoLinha::Lote:
        return QStringLiteral("StatusLote");
    case TipoLinha::Unidade:
        return QStringLiteral("StatusUnidade");
    }
    return {};
}

QString colunaDataStatus(TipoLinha tipo) {
    return QStringLiteral("Dth") + colunaStatus(tipo);
}

// The normative-document links of a line and their events.
QString tabelaDocumentos(TipoLinha tipo) {
    switch (tipo) {
    case TipoLinha::Tipo:
        return QStringLiteral("DOC_NORM_TIPO");
    case TipoLinha::Lote:
        return QStringLiteral("DOC_NORM_LOTE");
    case TipoLinha::Unidade:
        return QStringLiteral("DOC_NORM_UNIDADE");
    }
    return {};
}

QString tabelaEventosDocumentos(TipoLinha tipo) {
    switch (tipo) {
    case TipoLinha::Tipo:
        return QStringLiteral("STATUS_DNT");
    case TipoLinha::Lote:
        return QStringLiteral("STATUS_DNL");
    case TipoLinha::Unidade:
        return QStringLiteral("STATUS_DNU");
    }
    return {};
}

// The line's key columns with their values (parameters named after their position).
QList<Coluna> colunasDaChave(TipoLinha tipo, const ChaveLinha& c) {
    QList<Coluna> cols{{QStringLiteral("SiglaCertificador"), c.SiglaCertificador},
                       {QStringLiteral("NumCertif"), c.NumCertif},
                       {QStringLiteral("MarcaProd"), c.MarcaProd},
                       {QStringLiteral("ModeloProd"), c.ModeloProd},
                       {QStringLiteral("Importado"), c.Importado}};
    if (tipo != TipoLinha::Tipo)
        cols.append({LinhasProduto::colunaNumero(tipo), c.Numero});
    return cols;
}

QString condicao(const QList<Coluna>& cols, const QString& prefix) {
    QStringList terms;
    for (int i = 0; i < cols.size(); ++i)
        terms << QStringLiteral("%1 = :%2%3").arg(cols[i].first, prefix).arg(i);
    return terms.join(QStringLiteral(" AND "));
}

void liga(QSqlQuery& q, const QList<Coluna>& cols, const QString& prefix) {
    for (int i = 0; i < cols.size(); ++i)
        q.bindValue(QStringLiteral(":%1%2").arg(prefix).arg(i), cols[i].second);
}

// Every column of the line's row with its value.
QList<Coluna> colunasDaLinha(TipoLinha tipo, const LinhaProduto& l) {
    QList<Coluna> cols = colunasDaChave(tipo, l.chave);
    cols << Coluna{colunaStatus(tipo), l.Status}
         << Coluna{colunaDataStatus(tipo), Sql::dateTimeOrNull(l.DthStatus)}
         << Coluna{QStringLiteral("DthEntCertif"), Sql::dateTimeOrNull(l.DthEntCertif)}
         << Coluna{QStringLiteral("CodigoPais"), textOrNull(l.CodigoPais)}
         << Coluna{QStringLiteral("IdEmpresa"), textOrNull(l.IdEmpresa)}
         << Coluna{QStringLiteral("DthUltAtualiz"), Sql::dateTimeOrNull(l.DthUltAtualiz)}
         << Coluna{QStringLiteral("UsuResp"), textOrNull(l.UsuResp)};
    if (tipo == TipoLinha::Lote)
        cols << Coluna{QStringLiteral("QuantLote"), textOrNull(l.QuantLote)}
             << Coluna{QStringLiteral("DataFabrLote"), dateOrNull(l.DataFabrLote)}
             << Coluna{QStringLiteral("DataValLote"), dateOrNull(l.DataValLote)}
             << Coluna{QStringLiteral("NumProfInvoice"), textOrNull(l.NumProfInvoice)};
    if (tipo == TipoLinha::Unidade)
        cols << Coluna{QStringLiteral("LocalInstalacao"), textOrNull(l.LocalInstalacao)}
             << Coluna{QStringLiteral("EndBairro"), textOrNull(l.EndBairro)}
             << Coluna{QStringLiteral("EndCidade"), textOrNull(l.EndCidade)}
             << Coluna{QStringLiteral("EndCEP"), textOrNull(l.EndCEP)}
             << Coluna{QStringLiteral("SiglaUF"), textOrNull(l.SiglaUF)}
             << Coluna{QStringLiteral("Observacoes"), textOrNull(l.Observacoes)};
    return cols;
}

// Rewrites the line-key columns of the rows of `table` that carry the old key.
void mudaChaveEm(const QSqlDatabase& db, const QString& table, TipoLinha tipo, const ChaveLinha& antiga,
                 const ChaveLinha& nova) {
    const QList<Coluna> velhas = colunasDaChave(tipo, antiga);
    const QList<Coluna> novas = colunasDaChave(tipo, nova);
    QStringList sets;
    for (int i = 0; i < novas.size(); ++i)
        sets << QStringLiteral("%1 = :n%2").arg(novas[i].first).arg(i);
    QSqlQuery q = Sql::prepare(db, QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                       .arg(table, sets.join(QStringLiteral(", ")), condicao(velhas, "k")));
    liga(q, velhas, QStringLiteral("k"));
    liga(q, novas, QStringLiteral("n"));
    Sql::exec(q);
}

void apagaEm(const QSqlDatabase& db, const QString& table, TipoLinha tipo, const ChaveLinha& chave) {
    const QList<Coluna> cols = colunasDaChave(tipo, chave);
    QSqlQuery q = Sql::prepare(db, QStringLiteral("DELETE FROM %1 WHERE %2").arg(table, condicao(cols, "k")));
    liga(q, cols, QStringLiteral("k"));
    Sql::exec(q);
}

const QString CaptionGravacao = QStringLiteral("Erro de gravação");
const QString CaptionDelecao = QStringLiteral("Erro de deleção");
const QString CaptionEntrada = QStringLiteral("Erro de entrada de dados");
const QString ErroGenerico =
    QStringLiteral("Erro genérico de gravação no Banco de Dados !!! As alterações não foram efetuadas.");

} // namespace

namespace LinhasProduto {

QString tabela(TipoLinha tipo) {
    switch (tipo) {
    case TipoLinha::Tipo:
        return QStringLiteral("TIPO");
    case TipoLinha::Lote:
        return QStringLiteral("LOTE");
    case TipoLinha::Unidade:
        return QStringLiteral("UNIDADE");
    }
    return {};
}

QString colunaNumero(TipoLinha tipo) {
    switch (tipo) {
    case TipoLinha::Tipo:
        return {};
    case TipoLinha::Lote:
        return QStringLiteral("NumLote");
    case TipoLinha::Unidade:
        return QStringLiteral("NumSerieProd");
    }
    return {};
}

EventTable tabelaEventos(TipoLinha tipo) {
    switch (tipo) {
    case TipoLinha::Tipo:
        return EventTable::STATUS_T;
    case TipoLinha::Lote:
        return EventTable::STATUS_L;
    case TipoLinha::Unidade:
        return EventTable::STATUS_U;
    }
    return EventTable::STATUS_T;
}

QVariantList chaveDoEvento(TipoLinha tipo, const ChaveLinha& c) {
    QVariantList key;
    if (tipo != TipoLinha::Tipo)
        key << c.Numero;
    key << c.SiglaCertificador << c.NumCertif << c.MarcaProd << c.ModeloProd << c.Importado;
    return key;
}

std::optional<LinhaProduto> carrega(const QSqlDatabase& db, TipoLinha tipo, const ChaveLinha& chave) {
    const QList<Coluna> cols = colunasDaChave(tipo, chave);
    QStringList terms;
    for (int i = 0; i < cols.size(); ++i)
        terms << QStringLiteral("L.%1 = :k%2").arg(cols[i].first).arg(i);
    QSqlQuery q =
        Sql::prepare(db, QStringLiteral("SELECT L.*, P.CodEANUPC AS EANProduto FROM %1 L "
                                        "LEFT JOIN PRODUTO P ON L.MarcaProd = P.MarcaProd "
                                        "AND L.ModeloProd = P.ModeloProd AND L.Importado = P.Importado "
                                        "WHERE %2")
                             .arg(tabela(tipo), terms.join(QStringLiteral(" AND "))));
    liga(q, cols, QStringLiteral("k"));
    Sql::exec(q);
    if (!q.next())
        return std::nullopt;
    const QSqlRecord r = q.record();
    LinhaProduto l;
    l.chave = chave;
    l.CodigoPais = r.value("CodigoPais").toString();
    l.IdEmpresa = r.value("IdEmpresa").toString();
    l.DthEntCertif = r.value("DthEntCertif").toDateTime();
    l.Status = r.value(colunaStatus(tipo)).toString();
    l.DthStatus = r.value(colunaDataStatus(tipo)).toDateTime();
    l.DthUltAtualiz = r.value("DthUltAtualiz").toDateTime();
    l.UsuResp = r.value("UsuResp").toString();
    l.CodEANUPC = r.value("EANProduto").toString();
    if (tipo == TipoLinha::Lote) {
        l.QuantLote = r.value("QuantLote").toString();
        l.DataFabrLote = r.value("DataFabrLote").toDateTime().date();
        l.DataValLote = r.value("DataValLote").toDateTime().date();
        l.NumProfInvoice = r.value("NumProfInvoice").toString();
    }
    if (tipo == TipoLinha::Unidade) {
        l.LocalInstalacao = r.value("LocalInstalacao").toString();
        l.EndBairro = r.value("EndBairro").toString();
        l.EndCidade = r.value("EndCidade").toString();
        l.EndCEP = r.value("EndCEP").toString();
        l.SiglaUF = r.value("SiglaUF").toString();
        l.Observacoes = r.value("Observacoes").toString();
    }
    return l;
}

void insere(const QSqlDatabase& db, TipoLinha tipo, const LinhaProduto& linha) {
    const QList<Coluna> cols = colunasDaLinha(tipo, linha);
    QStringList names, params;
    for (int i = 0; i < cols.size(); ++i) {
        names << cols[i].first;
        params << QStringLiteral(":v%1").arg(i);
    }
    QSqlQuery q = Sql::prepare(
        db, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(tabela(tipo), names.join(QStringLiteral(", ")), params.join(QStringLiteral(", "))));
    liga(q, cols, QStringLiteral("v"));
    Sql::exec(q);
}

void atualiza(const QSqlDatabase& db, TipoLinha tipo, const ChaveLinha& antiga, const LinhaProduto& linha) {
    const QList<Coluna> cols = colunasDaLinha(tipo, linha);
    const QList<Coluna> velhas = colunasDaChave(tipo, antiga);
    QStringList sets;
    for (int i = 0; i < cols.size(); ++i)
        sets << QStringLiteral("%1 = :v%2").arg(cols[i].first).arg(i);
    QSqlQuery q =
        Sql::prepare(db, QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                             .arg(tabela(tipo), sets.join(QStringLiteral(", ")), condicao(velhas, "k")));
    liga(q, cols, QStringLiteral("v"));
    liga(q, velhas, QStringLiteral("k"));
    Sql::exec(q);
    if (q.numRowsAffected() != 1)
        throw DbError(QStringLiteral("A linha de produto %1 %2 não existe mais.")
                          .arg(antiga.MarcaProd, antiga.ModeloProd));
}

void apaga(const QSqlDatabase& db, TipoLinha tipo, const ChaveLinha& chave) {
    Eventos::apagaDoItem(db, tabelaEventos(tipo), chaveDoEvento(tipo, chave));
    apagaEm(db, tabelaEventosDocumentos(tipo), tipo, chave);
    apagaEm(db, tabelaDocumentos(tipo), tipo, chave);
    apagaEm(db, tabela(tipo), tipo, chave);
}

void mudaChave(const QSqlDatabase& db, TipoLinha tipo, const ChaveLinha& antiga, const ChaveLinha& nova) {
    Eventos::mudaChave(db, tabelaEventos(tipo), chaveDoEvento(tipo, antiga), chaveDoEvento(tipo, nova));
    mudaChaveEm(db, tabelaDocumentos(tipo), tipo, antiga, nova);
    mudaChaveEm(db, tabelaEventosDocumentos(tipo), tipo, antiga, nova);
}

bool existe(const QSqlDatabase& db, TipoLinha tipo, const ChaveLinha& chave,
            const std::optional<ChaveLinha>& excluida) {
    const QList<Coluna> cols = colunasDaChave(tipo, chave);
    QStringList terms;
    for (int i = 0; i < cols.size(); ++i) {
        const bool texto = cols[i].first != QLatin1String("Importado");
        if (tipo != TipoLinha::Tipo && texto)
            terms << QStringLiteral("UCase(%1) = UCase(:k%2)").arg(cols[i].first).arg(i);
        else
            terms << QStringLiteral("%1 = :k%2").arg(cols[i].first).arg(i);
    }
    QString sql = QStringLiteral("SELECT Count(*) AS Quant FROM %1 WHERE %2")
                      .arg(tabela(tipo), terms.join(QStringLiteral(" AND ")));
    QList<Coluna> fora;
    if (excluida) {
        fora = colunasDaChave(tipo, *excluida);
        sql += QStringLiteral(" AND NOT (%1)").arg(condicao(fora, "x"));
    }
    QSqlQuery q = Sql::prepare(db, sql);
    liga(q, cols, QStringLiteral("k"));
    liga(q, fora, QStringLiteral("x"));
    Sql::exec(q);
    return q.next() && q.value(0).toInt() > 0;
}

QDateTime ultimaInclusao(const QSqlDatabase& db, TipoLinha tipo, const ChaveLinha& chave) {
    return Eventos::ultimaInclusao(db, tabelaEventos(tipo), chaveDoEvento(tipo, chave));
}

QString exibicaoEmpresa(const QSqlDatabase& db, const QString& codigoPais, const QString& idEmpresa) {
    QSqlQuery q =
        Sql::exec(db,
                  QStringLiteral("SELECT TipoPessoa, RazSocialEmp, NomPessoaFisica, CGC, CPF FROM EMPRESA "
                                 "WHERE CodigoPais = :pais AND IdEmpresa = :id"),
                  {{":pais", codigoPais}, {":id", idEmpresa}});
    if (!q.next())
        return {};
    const QString tipoPessoa = q.value(0).toString();
    EmpresaVinculada e{codigoPais, idEmpresa, tipoPessoa,
                       nomeEmpresa(tipoPessoa, q.value(1).toString(), q.value(2).toString()),
                       documentoEmpresa(tipoPessoa, q.value(3).toString(), q.value(4).toString())};
    return e.texto();
}

QSqlQuery abreGrade(const QSqlDatabase& db, const QString& sql, Sql::Params params) {
    QSqlQuery query = Sql::prepare(db, sql);
    query.setForwardOnly(false);
    Sql::bind(query, params);
    Sql::exec(query);
    return query;
}

QString consultaGrade(TipoLinha tipo) {
    const QString extra =
        tipo == TipoLinha::Tipo ? QStringLiteral("P.DescrProd") : QStringLiteral("L.") + colunaNumero(tipo);
    const QString numero =
        tipo == TipoLinha::Tipo ? QStringLiteral("''") : QStringLiteral("L.") + colunaNumero(tipo);
    return QStringLiteral("SELECT L.MarcaProd, L.ModeloProd, L.Importado, "
                          "CASE WHEN L.Importado = 1 THEN 'Sim' ELSE 'Não' END AS EImportado, "
                          "P.CodEANUPC, %2 AS Extra, %3 AS Numero "
                          "FROM %1 L LEFT JOIN PRODUTO P ON L.MarcaProd = P.MarcaProd "
                          "AND L.ModeloProd = P.ModeloProd AND L.Importado = P.Importado "
                          "WHERE L.SiglaCertificador = :sigla AND L.NumCertif = :num "
                          "ORDER BY L.MarcaProd, L.ModeloProd, L.Importado%4")
        .arg(tabela(tipo), extra, numero,
             tipo == TipoLinha::Tipo ? QString() : QStringLiteral(", L.") + colunaNumero(tipo));
}

int posicaoNaGrade(const QSqlDatabase& db, TipoLinha tipo, const ChaveLinha& c) {
    // Row values compare in the grid's order, so the count is the row's index.
    const QString numero = tipo == TipoLinha::Tipo ? QString() : QStringLiteral(", ") + colunaNumero(tipo);
    const QString param = tipo == TipoLinha::Tipo ? QString() : QStringLiteral(", :numero");
    QSqlQuery q =
        Sql::prepare(db, QStringLiteral("SELECT Count(*) FROM %1 WHERE SiglaCertificador = :sigla "
                                        "AND NumCertif = :num AND (MarcaProd, ModeloProd, Importado%2) "
                                        "< (:marca, :modelo, :imp%3)")
                             .arg(tabela(tipo), numero, param));
    q.bindValue(QStringLiteral(":sigla"), c.SiglaCertificador);
    q.bindValue(QStringLiteral(":num"), c.NumCertif);
    q.bindValue(QStringLiteral(":marca"), c.MarcaProd);
    q.bindValue(QStringLiteral(":modelo"), c.ModeloProd);
    q.bindValue(QStringLiteral(":imp"), c.Importado);
    if (tipo != TipoLinha::Tipo)
        q.bindValue(QStringLiteral(":numero"), c.Numero);
    Sql::exec(q);
    return q.next() ? q.value(0).toInt() : 0;
}

} // namespace LinhasProduto

// ---------------------------------------------------------------------------------------------

LinhasDoCertificado::LinhasDoCertificado(TDMCertif& dm, TipoLinha tipo) : dm_(dm), tipo_(tipo) {
    registroEditor_ = dm_.registraEditor([this] { cancela(); });
    if (tipo_ == TipoLinha::Lote)
        dm_.registraVerificacao(QStringLiteral("LOTE"), [this] { return existeRegistro(); });
    if (tipo_ == TipoLinha::Unidade)
        dm_.registraVerificacao(QStringLiteral("UNIDADE"), [this] { return existeRegistro(); });
}

LinhasDoCertificado::~LinhasDoCertificado() {
    dm_.removeEditor(registroEditor_);
    // The data module outlives the editors: leave it a check that does not reach this object.
    if (tipo_ == TipoLinha::Lote)
        dm_.registraVerificacao(QStringLiteral("LOTE"), [] { return false; });
    if (tipo_ == TipoLinha::Unidade)
        dm_.registraVerificacao(QStringLiteral("UNIDADE"), [] { return false; });
}

void LinhasDoCertificado::inclui() {
    edicao_ = LinhaProduto{};
    edicao_.chave.SiglaCertificador = dm_.siglaAberta();
    edicao_.chave.NumCertif = dm_.numAberto();
    edicao_.Status = QStringLiteral("A");
    chaveOriginal_ = edicao_.chave;
    modo_ = Modo::Inclusao;
}

bool LinhasDoCertificado::edita(const ChaveLinha& chave) {
    std::optional<LinhaProduto> stored;
    try {
        stored = LinhasProduto::carrega(dm_.database(), tipo_, chave);
    } catch (const DbError&) {
        stored.reset();
    }
    if (!stored)
        return false;
    edicao_ = *stored;
    chaveOriginal_ = chave;
    if (tipo_ == TipoLinha::Tipo)
        chaveOriginal_.Numero.clear();
    edicao_.chave = chaveOriginal_;
    modo_ = Modo::Alteracao;
    return true;
}

void LinhasDoCertificado::escolheProduto(const ProdutoEscolhido& produto) {
    edicao_.chave.MarcaProd = produto.MarcaProd;
    edicao_.chave.ModeloProd = produto.ModeloProd;
    edicao_.chave.Importado = produto.Importado;
    edicao_.CodEANUPC = produto.CodEANUPC;
    edicao_.chave.SiglaCertificador = dm_.siglaAberta();
    edicao_.chave.NumCertif = dm_.numAberto();
}

void LinhasDoCertificado::cancela() {
    modo_ = Modo::Consulta;
}

bool LinhasDoCertificado::existeRegistro() const {
    if (modo_ == Modo::Consulta)
        return false;
    std::optional<ChaveLinha> propria;
    if (modo_ == Modo::Alteracao)
        propria = chaveOriginal_;
    return LinhasProduto::existe(dm_.database(), tipo_, edicao_.chave, propria);
}

QString LinhasDoCertificado::validaTipo(const DadosEditor& editor) const {
    const LinhaProduto& l = edicao_;
    if (l.chave.MarcaProd.trimmed().isEmpty())
        return QStringLiteral("Favor selecionar o produtor.");
    const bool mudouChave = modo_ == Modo::Alteracao && l.chave != chaveOriginal_;
    if ((modo_ == Modo::Inclusao || mudouChave) &&
        LinhasProduto::existe(dm_.database(), TipoLinha::Tipo, l.chave))
        return QStringLiteral("O Produto %1 %2 já existe.").arg(l.chave.MarcaProd, l.chave.ModeloProd);
    if (!editor.empresa && l.IdEmpresa.isEmpty())
        return QStringLiteral("Favor selecionar a empresa vinculada.");
    const DataDigitada data = DataDigitada::le(editor.dataEntrada);
    if (data.emBranco())
        return QStringLiteral("Favor informar a data de entrada do produto no certificado.");
    if (!data.valida())
        return QStringLiteral("Data inválida.");
    const QDate emissao = dm_.registro().DataEmissao;
    if (emissao.isValid() && data.data < emissao)
        return QStringLiteral("A data de entrada é menor que a data de emissão do certificado.");
    if (data.data > dm_.session().clock().today())
        return QStringLiteral("A data de entrada é maior que a data atual.");
    return {};
}

QString LinhasDoCertificado::erroFabricacao(const QString& texto) const {
    const DataDigitada d = DataDigitada::le(texto);
    if (d.emBranco())
        return {};
    if (!d.valida() || d.data > dm_.session().clock().today())
        return QStringLiteral("Formato de data inválido ou data superior a data atual! Tente novamente.");
    return {};
}

QString LinhasDoCertificado::erroValidade(const QString& fabricacao, const QString& validade) const {
    const DataDigitada f = DataDigitada::le(fabricacao);
    const DataDigitada v = DataDigitada::le(validade);
    const bool aceita = !f.emBranco() && !v.emBranco() && f.valida() && v.valida() && v.data >= f.data &&
                        v.data.year() < DatasCertificado::AnoLimite;
    return aceita ? QString()
                  : QStringLiteral("Formato de data inválido ou data inferior a data de fabricação do lote! "
                                   "Tente novamente.");
}

bool LinhasDoCertificado::preenchimento(const DadosEditor& editor) const {
    const LinhaProduto& l = edicao_;
    if (tipo_ == TipoLinha::Lote)
        return !l.chave.MarcaProd.trimmed().isEmpty() && !l.chave.Numero.trimmed().isEmpty() &&
               !l.QuantLote.trimmed().isEmpty() && !DataDigitada::le(editor.dataFabricacao).emBranco();
    return !l.chave.Numero.trimmed().isEmpty() && !l.chave.MarcaProd.isEmpty();
}

void LinhasDoCertificado::ressincroniza() {
    // The flags written in memory by the rolled-back transaction are read again.
    if (dm_.temCertificadoAberto())
        dm_.CarregaCertificado(dm_.siglaAberta(), dm_.numAberto());
}

void LinhasDoCertificado::mostraErroGravacao(const std::exception& error) {
    Prompts& prompts = dm_.session().prompts();
    if (tipo_ == TipoLinha::Tipo) {
        prompts.message(CaptionGravacao,
                        QStringLiteral("Erro ao Salvar a aplicação!!! As alterações não foram efetuadas."));
        return;
    }
    const auto* db = dynamic_cast<const DbError*>(&error);
    if (db && (db->isKeyViolation() || db->message() == KeyViolationMessage)) {
        prompts.message(TDMCertif::CaptionChaveDuplicada,
                        tipo_ == TipoLinha::Lote
                            ? QStringLiteral("Lote incluido para este produto !!! Cancele a inclusão...")
                            : QStringLiteral("Número de série já incluido para este produto !!! Cancele a "
                                             "inclusão..."));
        return;
    }
    prompts.message(CaptionGravacao, ErroGenerico);
}

bool LinhasDoCertificado::aplica(const DadosEditor& editor) {
    if (modo_ == Modo::Consulta)
        return false;
    Prompts& prompts = dm_.session().prompts();
    const QSqlDatabase db = dm_.database();
    const bool inclusao = modo_ == Modo::Inclusao;
    LinhaProduto& l = edicao_;
    // Lot and serial numbers are upper case without blanks; a type line has none.
    l.chave.Numero = tipo_ == TipoLinha::Tipo ? QString() : l.chave.Numero.toUpper().remove(QLatin1Char(' '));
    l.chave.SiglaCertificador = dm_.siglaAberta();
    l.chave.NumCertif = dm_.numAberto();

    try {
        if (tipo_ == TipoLinha::Tipo) {
            const QString erro = validaTipo(editor);
            if (!erro.isEmpty()) {
                prompts.error(erro);
                return false;
            }
        } else {
            if (!preenchimento(editor)) {
                prompts.message(
                    QStringLiteral("Campos em branco"),
                    QStringLiteral("Existem campos obrigatórios em branco !!! Reveja a inclusão ou "
                                   "edição..."));
                return false;
            }
            if (!editor.empresa) {
                prompts.error(QStringLiteral("Favor selecionar a empresa vinculada."));
                return false;
            }
            if (tipo_ == TipoLinha::Lote) {
                QString erro = erroFabricacao(editor.dataFabricacao);
                if (erro.isEmpty())
                    erro = erroValidade(editor.dataFabricacao, editor.dataValidade);
                if (!erro.isEmpty()) {
                    prompts.message(CaptionEntrada, erro);
                    return false;
                }
                l.DataFabrLote = DataDigitada::le(editor.dataFabricacao).data;
                l.DataValLote = DataDigitada::le(editor.dataValidade).data;
                if (l.chave.Importado != 1)
                    l.NumProfInvoice.clear();
            }
            const bool mudouChave = !inclusao && l.chave != chaveOriginal_;
            if ((inclusao || mudouChave) && existeRegistro()) {
                prompts.message(TDMCertif::CaptionChaveDuplicada, TabelaProdutos::ProdutoJaExiste);
                return false;
            }
            if (!dm_.ValidaDataEntrada(editor.dataEntrada))
                return false;
        }
    } catch (const std::exception& error) {
        mostraErroGravacao(error);
        return false;
    }

    const QDateTime agora = dm_.session().clock().now();
    const bool aprovado = dm_.JaAprovado();
    l.DthUltAtualiz = agora;
    l.UsuResp = dm_.session().user().SiglaUsu;
    // A type line keeps its stored company and entry date unless a company is chosen again.
    if (editor.empresa || tipo_ != TipoLinha::Tipo) {
        l.CodigoPais = editor.empresa->CodigoPais;
        l.IdEmpresa = editor.empresa->IdEmpresa;
        l.DthEntCertif = Sql::dateValue(DataDigitada::le(editor.dataEntrada).data);
    }
    if (inclusao || !aprovado)
        l.DthStatus = l.DthEntCertif;

    const bool mudouChave = !inclusao && l.chave != chaveOriginal_;
    try {
        Transaction transaction(db);
        if (inclusao)
            LinhasProduto::insere(db, tipo_, l);
        else
            LinhasProduto::atualiza(db, tipo_, chaveOriginal_, l);
        if (mudouChave)
            LinhasProduto::mudaChave(db, tipo_, chaveOriginal_, l.chave);
        if (inclusao || aprovado) {
            RegistroEvento evento{LinhasProduto::tabelaEventos(tipo_),
                                  LinhasProduto::chaveDoEvento(tipo_, l.chave),
                                  inclusao ? QStringLiteral("INC") : QStringLiteral("ALT"), l.Status,
                                  inclusao ? l.DthEntCertif : agora};
            evento.perguntaJustificativa = aprovado;
            evento.aparaJustificativa = tipo_ == TipoLinha::Lote;
            const auto escrito = registraEvento(db, dm_.justificationAsker(), evento,
                                                dm_.registro().DataEmissao, l.UsuResp, agora);
            if (!escrito) {
                // Cancelled: nothing of the operation stays, without a message.
                transaction.rollback();
                modo_ = Modo::Consulta;
                return false;
            }
        }
        if (aprovado)
            dm_.RetiraAprovacao();
        dm_.AtualizaCompleto(QStringLiteral("O"));
        transaction.commit();
    } catch (const std::exception& error) {
        ressincroniza();
        modo_ = Modo::Consulta;
        mostraErroGravacao(error);
        return false;
    }
    modo_ = Modo::Consulta;
    return true;
}

bool LinhasDoCertificado::exclui(const ChaveLinha& chave) {
    Prompts& prompts = dm_.session().prompts();
    const QSqlDatabase db = dm_.database();
    try {
        if (!Eventos::podeApagarItem(db, LinhasProduto::tabelaEventos(tipo_),
                                     LinhasProduto::chaveDoEvento(tipo_, chave), chave.SiglaCertificador,
                                     chave.NumCertif)) {
            prompts.message(CaptionDelecao,
                            QStringLiteral("Este registro não pode ser apagado do certificado, "
                                           "pois já foi aprovado para emissão para o Kavorel."));
            return false;
        }
    } catch (const std::exception&) {
        prompts.message(CaptionDelecao, QStringLiteral("Erro ao excluir o produto."));
        return false;
    }
    if (!prompts.confirm(QStringLiteral("Confirma a exclusão do produto?")))
        return false;
    try {
        Transaction transaction(db);
        LinhasProduto::apaga(db, tipo_, chave);
        dm_.AtualizaCompleto(QStringLiteral("O"));
        dm_.RetiraAprovacao();
        transaction.commit();
    } catch (const std::exception&) {
        ressincroniza();
        prompts.message(CaptionDelecao, QStringLiteral("Erro ao excluir o produto."));
        return false;
    }
    modo_ = Modo::Consulta;
    return true;
}
