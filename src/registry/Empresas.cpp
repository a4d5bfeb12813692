#include "Empresas.h"

#include "Documents.h"
#include "Eventos.h"
#include "Formats.h"
#include "Prompts.h"
#include "Sql.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace {

const QString Colunas = QStringLiteral(
    "CodigoPais, IdEmpresa, TipoPessoa, CGC, CPF, RazSocialEmp, NomFantasia, NomPessoaFisica, EndLogr, "
    "EndNum, EndCompl, EndCEP, EndBairro, EndCidade, SiglaUF, Telefone, Fax, Email, DthUltAtualiz, UsuResp");

// Empty texts are stored as NULL, as the edits of an empty field leave them.
QVariant texto(const QString& value) {
    return value.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(value);
}

QList<Sql::Param> valores(const Empresa& e) {
    return {{":CodigoPais", e.CodigoPais},
            {":IdEmpresa", e.IdEmpresa},
            {":TipoPessoa", texto(e.TipoPessoa)},
            {":CGC", texto(e.CGC)},
            {":CPF", texto(e.CPF)},
            {":RazSocialEmp", texto(e.RazSocialEmp)},
            {":NomFantasia", texto(e.NomFantasia)},
            {":NomPessoaFisica", texto(e.NomPessoaFisica)},
            {":EndLogr", texto(e.EndLogr)},
            {":EndNum", texto(e.EndNum)},
            {":EndCompl", texto(e.EndCompl)},
            {":EndCEP", texto(e.EndCEP)},
            {":EndBairro", texto(e.EndBairro)},
            {":EndCidade", texto(e.EndCidade)},
            {":SiglaUF", texto(e.SiglaUF)},
            {":Telefone", texto(e.Telefone)},
            {":Fax", texto(e.Fax)},
            {":Email", texto(e.Email)},
            {":DthUltAtualiz", e.DthUltAtualiz},
            {":UsuResp", e.UsuResp}};
}

void executaCom(const QSqlDatabase& db, const QString& sql, const QList<Sql::Param>& params) {
    QSqlQuery query = Sql::prepare(db, sql);
    for (const auto& [name, value] : params)
        query.bindValue(name, value);
    Sql::exec(query);
}

Empresa daLinha(const QSqlRecord& r) {
    auto v = [&](const char* column) { return r.value(QString::fromLatin1(column)).toString(); };
    Empresa e;
    e.CodigoPais = v("CodigoPais");
    e.IdEmpresa = v("IdEmpresa");
    e.TipoPessoa = v("TipoPessoa");
    e.CGC = v("CGC");
    e.CPF = v("CPF");
    e.RazSocialEmp = v("RazSocialEmp");
    e.NomFantasia = v("NomFantasia");
    e.NomPessoaFisica = v("NomPessoaFisica");
    e.EndLogr = v("EndLogr");
    e.EndNum = v("EndNum");
    e.EndCompl = v("EndCompl");
    e.EndCEP = v("EndCEP");
    e.EndBairro = v("EndBairro");
    e.EndCidade = v("EndCidade");
    e.SiglaUF = v("SiglaUF");
    e.Telefone = v("Telefone");
    e.Fax = v("Fax");
    e.Email = v("Email");
    e.DthUltAtualiz = r.value(QStringLiteral("DthUltAtualiz")).toDateTime();
    e.UsuResp = v("UsuResp");
    return e;
}

QString digitos(const QString& text) {
    QString digits;
    for (const QChar c : text)
        if (c.isDigit())
            digits += c;
    return digits;
}

} // namespace

QString documentoEmpresa(const QString& tipoPessoa, const QString& cgc, const QString& cpf) {
    if (tipoPessoa == QLatin1String("1"))
        return cgc.isEmpty() ? QString() : FormataCNPJ(cgc, true);
    if (tipoPessoa == QLatin1String("2"))
        return FormataCPF(cpf);
    return {};
}

QString nomeEmpresa(const QString& tipoPessoa, const QString& razSocial, const QString& nomPessoaFisica) {
    if (tipoPessoa == QLatin1String("1"))
        return razSocial;
    if (tipoPessoa == QLatin1String("2"))
        return nomPessoaFisica;
    return {};
}

namespace Empresas {

std::optional<Empresa> carrega(const QSqlDatabase& db, const QString& codigoPais, const QString& idEmpresa) {
    QSqlQuery query = Sql::exec(
        db,
        QStringLiteral("SELECT %1 FROM EMPRESA WHERE CodigoPais = :pais AND IdEmpresa = :id").arg(Colunas),
        {{":pais", codigoPais}, {":id", idEmpresa}});
    if (!query.next())
        return std::nullopt;
    return daLinha(query.record());
}

void insere(const QSqlDatabase& db, const Empresa& row) {
    QString nomes = Colunas;
    QString params = QLatin1Char(':') + Colunas;
    params.replace(QStringLiteral(", "), QStringLiteral(", :"));
    executaCom(db, QStringLiteral("INSERT INTO EMPRESA (%1) VALUES (%2)").arg(nomes, params), valores(row));
}

void atualiza(const QSqlDatabase& db, const QString& paisAntigo, const QString& idAntigo,
              const Empresa& row) {
    QStringList sets;
    for (const QString& column : Colunas.split(QStringLiteral(", ")))
        sets << column + QStringLiteral(" = :") + column;
    QList<Sql::Param> params = valores(row);
    params << Sql::Param{":paisAntigo", paisAntigo} << Sql::Param{":idAntigo", idAntigo};
    executaCom(
        db,
        QStringLiteral("UPDATE EMPRESA SET %1 WHERE CodigoPais = :paisAntigo AND IdEmpresa = :idAntigo")
            .arg(sets.join(QStringLiteral(", "))),
        params);
}

void apaga(const QSqlDatabase& db, const QString& codigoPais, const QString& idEmpresa) {
    Sql::execute(db, QStringLiteral("DELETE FROM EMPRESA WHERE CodigoPais = :pais AND IdEmpresa = :id"),
                 {{":pais", codigoPais}, {":id", idEmpresa}});
}

bool existe(const QSqlDatabase& db, const QString& codigoPais, const QString& idEmpresa) {
    return Sql::scalar(db,
                       QStringLiteral("Select Count(*) as Quant from EMPRESA\n"
                                      "Where UCase(CODIGOPAIS) = UCase(:pais)\n"
                                      "and UCase(IDEMPRESA) = UCase(:id) "),
                       {{":pais", codigoPais}, {":id", idEmpresa}})
               .toInt() > 0;
}

bool vinculada(const QSqlDatabase& db, const QString& codigoPais, const QString& idEmpresa) {
    return Sql::scalar(
               db,
               QStringLiteral("select count(*) as qtregs from emp_cert where CodigoPais = :par_codPais and\n"
                              "IdEmpresa = :par_IdEmpresa"),
               {{":par_codPais", codigoPais}, {":par_IdEmpresa", idEmpresa}})
               .toInt() > 0;
}

QList<ChaveCertificado> certificadosDaEmpresa(const QSqlDatabase& db, const QString& codigoPais,
                                              const QString& idEmpresa) {
    QSqlQuery query = Sql::exec(db,
                                QStringLiteral("select SiglaCertificador, NumCertif from emp_cert\n"
                                               "where CodigoPais = :Codigo AND IdEmpresa = :empresa"),
                                {{":Codigo", codigoPais}, {":empresa", idEmpresa}});
    QList<ChaveCertificado> chaves;
    while (query.next())
        chaves.append({query.value(0).toString(), query.value(1).toString()});
    return chaves;
}

void DesaprovaPorEmpresa(const QSqlDatabase& db, const QString& codigoPais, const QString& idEmpresa,
                         const QString& usuario, const QDateTime& agora) {
    for (const ChaveCertificado& c : certificadosDaEmpresa(db, codigoPais, idEmpresa)) {
        // Only the flag: the certificate itself did not change, and the ALT event below records who
        // changed the company and when.
        Sql::execute(db,
                     QStringLiteral("update certific set aprovado = False "
                                    "where SiglaCertificador = :par_Sigla and NumCertif = :par_Num"),
                     {{":par_Sigla", c.sigla}, {":par_Num", c.numero}});
        const QString status =
            Sql::scalar(db,
                        QStringLiteral("SELECT STATUSCERTIFICADO FROM CERTIFIC\n"
                                       "WHERE SIGLACERTIFICADOR = :sigla\nAND NUMCERTIF = :num"),
                        {{":sigla", c.sigla}, {":num", c.numero}})
                .toString();
        EventRow evento;
        evento.key = {c.sigla, c.numero};
        evento.evento = QStringLiteral("ALT");
        evento.justificativa = JustificativaAlteracao;
        evento.historicoSis = QStringLiteral("2");
        evento.status = status;
        evento.statusDate = agora;
        evento.dthUltAtualiz = agora;
        evento.usuResp = usuario;
        Eventos::insere(db, EventTable::STATUS_C, evento);
    }
}

QString nomePais(const QSqlDatabase& db, const QString& codigoPais) {
    return Sql::scalar(db, QStringLiteral("SELECT NomePais FROM PAIS WHERE CodigoPais = :pais"),
                       {{":pais", codigoPais}})
        .toString();
}

QList<std::pair<QString, QString>> paises(const QSqlDatabase& db) {
    QSqlQuery query =
        Sql::exec(db, QStringLiteral("SELECT CodigoPais, NomePais FROM PAIS ORDER BY NomePais"));
    QList<std::pair<QString, QString>> list;
    while (query.next())
        list.append({query.value(0).toString(), query.value(1).toString()});
    return list;
}

QList<std::pair<QString, QString>> ufs(const QSqlDatabase& db) {
    QSqlQuery query = Sql::exec(db, QStringLiteral("SELECT SiglaUF, NomeUF FROM UF ORDER BY NomeUF"));
    QList<std::pair<QString, QString>> list;
    while (query.next())
        list.append({query.value(0).toString(), query.value(1).toString()});
    return list;
}

QList<std::pair<int, QString>> papeis(const QSqlDatabase& db) {
    QSqlQuery query =
        Sql::exec(db, QStringLiteral("SELECT IdPapelEmp, PapelEmp FROM PAPEL_EMP ORDER BY PapelEmp"));
    QList<std::pair<int, QString>> list;
    while (query.next())
        list.append({query.value(0).toInt(), query.value(1).toString()});
    return list;
}

QString idEmpresaDe(const Empresa& row, bool brasil) {
    if (row.fisica())
        return row.CPF.trimmed();
    if (brasil)
        return row.CGC.trimmed();
    return row.RazSocialEmp.trimmed();
}

bool valida(Prompts& prompts, Empresa& row, bool brasil) {
    for (QString* field :
         {&row.RazSocialEmp, &row.NomFantasia, &row.NomPessoaFisica, &row.EndLogr, &row.EndNum, &row.EndCompl,
          &row.EndBairro, &row.EndCidade, &row.Telefone, &row.Fax, &row.Email})
        *field = field->trimmed();
    row.CPF = digitos(row.CPF);
    row.EndCEP = digitos(row.EndCEP);
    // The CNPJ keeps whatever was typed until the check below, so a wrong length is reported.
    const QString cnpjDigitado = row.CGC;
    auto erro = [&](const QString& text) {
        prompts.message(CaptionGravacao, text);
        return false;
    };

    if (row.CodigoPais.isEmpty())
        return erro(QStringLiteral("O campo de País é de preenchimento obrigatório."));
    if (row.fisica()) {
        if (row.CPF.isEmpty())
            return erro(QStringLiteral("O campo CPF é de preenchimento obrigatório."));
        if (row.NomPessoaFisica.isEmpty())
            return erro(QStringLiteral("O campo Nome Pessoa Física é de preenchimento obrigatório."));
    } else if (!brasil) {
        if (row.RazSocialEmp.isEmpty())
            return erro(QStringLiteral(
                "O campo de Razão Social é de preenchimento obrigatório para empresas estrangeiras."));
    } else {
        if (FormataCNPJ(cnpjDigitado, false).isEmpty())
            return erro(
                QStringLiteral("O campo de CNPJ é de preenchimento obrigatório para empresas brasileiras."));
        if (row.EndCEP.isEmpty())
            return erro(
                QStringLiteral("O campo de CEP é de preenchimento obrigatório para empresas brasileiras."));
        if (row.EndCEP == QLatin1String("00000000"))
            return erro(QStringLiteral("CEP inválido !!!"));
    }

    if (row.fisica()) {
        if (!ValidaCPF(row.CPF)) {
            prompts.message(QString(), QStringLiteral("CPF inválido !!!"));
            return false;
        }
    } else if (brasil) {
        if (!ValidaCNPJ(prompts, FormataCNPJ(cnpjDigitado, true)))
            return false;
        row.CGC = FormataCNPJ(cnpjDigitado, false);
    }
    if (!row.fisica() && !brasil)
        row.CGC = FormataCNPJ(cnpjDigitado, false); // a foreign company has no CNPJ; digits if any
    row.IdEmpresa = idEmpresaDe(row, brasil);
    return true;
}

} // namespace Empresas
