#include "TDataStruct.h"

#include "Clock.h"
#include "CodigosReferencia.h"
#include "DbError.h"
#include "Documents.h"
#include "EventSequence.h"
#include "Formats.h"
#include "LogImportacao.h"
#include "Prompts.h"
#include "Sql.h"

#include <QSqlQuery>

namespace {

const QString Verifique = QStringLiteral(" Verifique a linha ");
const QString DoArquivo = QStringLiteral(" do arquivo txt.");

QString ondeVerificar(int linha) {
    return Verifique + QString::number(linha) + DoArquivo;
}

// Exact membership of a coded value (trimmed, upper case) in its list of codes.
bool umDe(const QString& aparado, std::initializer_list<const char*> codigos) {
    const QString v = aparado.toUpper();
    for (const char* c : codigos)
        if (v == QLatin1String(c))
            return true;
    return false;
}

// A number as the file writes it within its columns, blanks already trimmed: no other white space
// around it (the conversion itself would pass over a tab).
bool semEspacoNasPontas(const QString& aparado) {
    return !aparado.isEmpty() && !aparado.front().isSpace() && !aparado.back().isSpace();
}

bool soDigitos(const QString& texto) {
    for (const QChar c : texto)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return !texto.isEmpty();
}

// The message of a code that its reference table lacks.
QString fraseDeReferencia(Verificacao verificacao) {
    switch (verificacao) {
    case Verificacao::Pais:
        return QStringLiteral(" não é um país cadastrado ");
    case Verificacao::PapelEmpresa:
        return QStringLiteral(" não é um papel de empresa cadastrado ");
    case Verificacao::ClasseCertificado:
        return QStringLiteral(" não é uma classe de certificado cadastrada ");
    case Verificacao::ClasseProduto:
        return QStringLiteral(" não é uma classe de produto cadastrada ");
    default:
        return QStringLiteral(" não é uma classe de serviço cadastrada ");
    }
}

constexpr int TamanhoMaximoProduto = 105;

const QDateTime LimiteInferior(QDate(1900, 1, 1), QTime(0, 0));
constexpr int AnoLimiteDatas = 2080;

QVariant nulo(TipoCampo tipo) {
    switch (tipo) {
    case TipoCampo::Texto:
        return QVariant(QMetaType(QMetaType::QString));
    case TipoCampo::InteiroCurto:
    case TipoCampo::Inteiro:
        return QVariant(QMetaType(QMetaType::Int));
    case TipoCampo::Float:
        return QVariant(QMetaType(QMetaType::Double));
    case TipoCampo::Data:
    case TipoCampo::DataHora:
        return QVariant(QMetaType(QMetaType::QDateTime));
    }
    return {};
}

// The statement from the file's prepared ones, or prepared now into `propria`.
QSqlQuery& preparada(const ContextoImportacao& ctx, const QString& sql, std::optional<QSqlQuery>& propria) {
    if (ctx.consultas)
        return ctx.consultas->consulta(sql);
    propria.emplace(Sql::prepare(ctx.db, sql));
    return *propria;
}

// ":p" + i, the name of field i's parameter.
const QString& nomeParametro(int i) {
    static const QStringList nomes = [] {
        QStringList n;
        for (int k = 0; k < 128; ++k)
            n << QStringLiteral(":p") + QString::number(k);
        return n;
    }();
    Q_ASSERT(i < nomes.size());
    return nomes[i];
}

} // namespace

// The record statement, prepared the first time it runs.
static SqliteStatement& instrucaoDe(const ContextoImportacao& ctx, ConsultasPreparadas::Comando& comando) {
    if (!comando.instrucao)
        comando.instrucao = std::make_shared<SqliteStatement>(ctx.db, comando.sql);
    return *comando.instrucao;
}

QSqlQuery& ConsultasPreparadas::consulta(const QString& sql) {
    auto it = consultas_.find(sql);
    if (it == consultas_.end())
        it = consultas_.insert(sql, Sql::prepare(db_, sql));
    it->finish();
    return *it;
}

TDataStruct::TDataStruct(const EstruturaRegistro& estrutura)
    : estrutura_(&estrutura), itens_(estrutura.campos.size()) {}

void TDataStruct::defineValor(int i, QString valor) {
    itens_[i].aparado = RemoveBrancos(valor);
    if (estrutura_->campos[i].maiusculas)
        itens_[i].aparado = itens_[i].aparado.toUpper();
    itens_[i].valor = std::move(valor);
}

void TDataStruct::define(int i, const QString& valor, int linha) {
    defineValor(i, valor);
    itens_[i].linha = linha;
}

QString TDataStruct::valor(const QString& nome) const {
    const int i = estrutura_->indice(nome);
    return i < 0 ? QString() : aparado(i);
}

bool TDataStruct::define(const QString& nome, const QString& valor) {
    const int i = estrutura_->indice(nome);
    if (i < 0)
        return false;
    defineValor(i, valor);
    return true;
}

namespace {

// The number written in t[from, from + n), or -1 when a character is not a digit.
int numero(const QString& t, int from, int n) {
    int v = 0;
    for (int i = from; i < from + n; ++i) {
        const char16_t c = t[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        v = v * 10 + (c - u'0');
    }
    return v;
}

} // namespace

std::optional<QDateTime> TDataStruct::converteData(const QString& texto) {
    // "dd/mm/yyyy", optionally followed by " hh:mm:ss" (the program's own time stamps).
    const QString t = RemoveBrancos(texto);
    if ((t.size() != 10 && t.size() != 19) || t[2] != u'/' || t[5] != u'/')
        return std::nullopt;
    const QDate dia(numero(t, 6, 4), numero(t, 3, 2), numero(t, 0, 2));
    if (!dia.isValid() || numero(t, 6, 4) < 0 || numero(t, 3, 2) < 0 || numero(t, 0, 2) < 0)
        return std::nullopt;
    if (t.size() == 10)
        return QDateTime(dia, QTime(0, 0));
    if (t[10] != u' ' || t[13] != u':' || t[16] != u':')
        return std::nullopt;
    const QTime hora(numero(t, 11, 2), numero(t, 14, 2), numero(t, 17, 2));
    if (!hora.isValid() || numero(t, 11, 2) < 0 || numero(t, 14, 2) < 0 || numero(t, 17, 2) < 0)
        return std::nullopt;
    return QDateTime(dia, hora);
}

QString TDataStruct::textoDataHora(const QDateTime& quando) {
    return textoDataHoraRapido(quando, u"dd/MM/yyyy hh:mm:ss");
}

void TDataStruct::falha(const ContextoImportacao& ctx, const QString& mensagem) {
    valido_ = false;
    if (ctx.log)
        ctx.log->log(mensagem);
}

bool TDataStruct::ValidaRegistro(const ContextoImportacao& ctx) {
    valido_ = true;
    QDateTime emissao;
    for (int i = 0; i < quantidade(); ++i) {
        const DefinicaoCampo& campo = estrutura_->campos[i];
        if (aparado(i).isEmpty()) {
            if (campo.obrigatorio) {
                falha(ctx, QStringLiteral("O campo obrigatório ") + campo.nome +
                               QStringLiteral(" não foi encontrado.") + ondeVerificar(itens_[i].linha));
                continue;
            }
            if (campo.nome == QLatin1String("DthUltAtualiz"))
                defineValor(i, textoDataHora(ctx.clock->now()));
            else if (campo.nome == QLatin1String("UsuResp"))
                defineValor(i, ctx.usuario);
            continue;
        }
        verificaCampo(i, ctx, emissao);
    }
    if (estrutura_->verificaEmpresa)
        verificaEmpresa(ctx);
    return valido_;
}

bool TDataStruct::verificaCampo(int i, const ContextoImportacao& ctx, QDateTime& emissao) {
    const DefinicaoCampo& campo = estrutura_->campos[i];
    const QString& valor = itens_[i].valor;
    const QString& aparadoValor = itens_[i].aparado;
    const QString onde = ondeVerificar(itens_[i].linha);
    const auto erro = [&](const QString& frase) {
        falha(ctx, QStringLiteral("O valor ") + valor + frase + onde);
    };
    // Validities in 2080 or later are refused everywhere in the register.
    const auto anoLimite = [&](const QDateTime& quando) {
        if (quando.date().year() >= AnoLimiteDatas)
            falha(ctx,
                  QStringLiteral("Data não pode ter ano igual ou superior a %1!").arg(AnoLimiteDatas) + onde);
    };

    bool ok = true;
    switch (campo.tipo) {
    case TipoCampo::Texto:
        break;
    case TipoCampo::InteiroCurto:
    case TipoCampo::Inteiro:
        aparadoValor.toInt(&ok);
        ok = ok && semEspacoNasPontas(aparadoValor);
        if (!ok)
            erro(QStringLiteral(" não é um integer válido"));
        break;
    case TipoCampo::Float:
        aparadoValor.toDouble(&ok);
        ok = ok && semEspacoNasPontas(aparadoValor);
        if (!ok)
            erro(QStringLiteral(" não é um float válido"));
        break;
    case TipoCampo::Data:
        ok = converteData(aparadoValor).has_value();
        if (!ok)
            erro(QStringLiteral(" não é uma data válida"));
        break;
    case TipoCampo::DataHora:
        ok = converteData(aparadoValor).has_value();
        if (!ok)
            erro(QStringLiteral(" não é uma date/time válido"));
        break;
    }

    switch (campo.verificacao) {
    case Verificacao::Nenhuma:
    case Verificacao::TipoPessoa: // with the company's own checks
        break;
    case Verificacao::Sigla:
        if (aparadoValor.toUpper() != ctx.sigla)
            falha(ctx, QStringLiteral("Erro na SIGLA do Certtificador!") + onde);
        break;
    case Verificacao::DataEmissao:
        if (const auto quando = converteData(aparadoValor)) {
            if (*quando > ctx.clock->now())
                falha(ctx, QStringLiteral("Data não pode ser superior a data do sistema!") + onde);
            else
                emissao = *quando;
        }
        break;
    case Verificacao::DataValid:
        if (const auto quando = converteData(aparadoValor)) {
            if (emissao.isValid() && emissao > *quando)
                falha(ctx, QStringLiteral(
                               "Data de validade não pode ser inferior a data de emissão do certificado!") +
                               onde);
            anoLimite(*quando);
        }
        break;
    case Verificacao::DataValLote:
        if (const auto quando = converteData(aparadoValor))
            anoLimite(*quando);
        break;
    case Verificacao::Situacao:
        if (!umDe(aparadoValor, {"A", "C", "S"}))
            erro(QStringLiteral(" não é uma situação válida "));
        break;
    case Verificacao::Evento:
        if (!umDe(aparadoValor, {"INC", "ALT", "CAN", "SUS", "REA", "APR"}))
            erro(QStringLiteral(" não é um EVENTO válido "));
        break;
    case Verificacao::Importado:
        if (!umDe(aparadoValor, {"0", "1"}))
            erro(QStringLiteral(" não é válido "));
        break;
    case Verificacao::HistoricoSis:
        if (!umDe(aparadoValor, {"1", "2"}))
            erro(QStringLiteral(" não é válido "));
        break;
    case Verificacao::Pais:
    case Verificacao::PapelEmpresa:
    case Verificacao::ClasseCertificado:
    case Verificacao::ClasseProduto:
    case Verificacao::ClasseServico:
        if (ok && !(ctx.referencias && ctx.referencias->contem(campo.verificacao, aparadoValor)))
            erro(fraseDeReferencia(campo.verificacao));
        break;
    case Verificacao::TamanhoProduto:
        if (aparadoValor.size() > TamanhoMaximoProduto)
            falha(ctx, QStringLiteral("O Tamanho do conteudo do campo ") + campo.nome.toUpper() +
                           QLatin1Char(' ') + valor +
                           QStringLiteral(" temporariamente não pode ser superior a 105 caracteres") + onde);
        break;
    }
    return ok;
}

// The company's identity: a person by a valid CPF, a Brazilian company by a valid unformatted CNPJ,
// a foreign company by its corporate name.
void TDataStruct::verificaEmpresa(const ContextoImportacao& ctx) {
    const auto campo = [this](const char* nome) {
        const int i = estrutura_->indice(QString::fromLatin1(nome));
        return std::pair<QString, int>(aparado(i), itens_[i].linha);
    };
    const auto [pais, linhaPais] = campo("CodigoPais");
    const auto [cgc, linhaCgc] = campo("CGC");
    const auto [idEmpresa, linhaId] = campo("IdEmpresa");
    const auto [razao, linhaRazao] = campo("RazSocialEmp");
    const auto [tipo, linhaTipo] = campo("TipoPessoa");
    const auto [cpf, linhaCpf] = campo("CPF");
    Q_UNUSED(linhaPais)
    Q_UNUSED(linhaRazao)
    const auto erro = [&](const QString& valor, const QString& frase, int linha) {
        falha(ctx, QStringLiteral("O valor ") + valor + frase + ondeVerificar(linha));
    };

    if (!tipo.isEmpty() && !umDe(tipo, {"1", "2"}))
        erro(tipo, QStringLiteral(" não é um TIPOPESSOA válido "), linhaTipo);
    const QString tipoPessoa = tipo.toUpper();
    const bool brasil = pais.toUpper() == QLatin1String("BR");
    if (tipoPessoa == QLatin1String("2")) {
        if (!ValidaCPFImportacao(cpf))
            erro(cpf, QStringLiteral(" não é um CPF válido "), linhaCpf);
        else if (!ValidaCPFImportacao(idEmpresa) || !soDigitos(idEmpresa))
            erro(idEmpresa, QStringLiteral(" não é um CPF válido para o campo IDEMPRESA "), linhaId);
    } else if (tipoPessoa == QLatin1String("1") && brasil) {
        if (!ValidaCNPJImportacao(cgc))
            erro(cgc, QStringLiteral(" não é um CGC válido "), linhaCgc);
        else if (!soDigitos(cgc))
            erro(cgc, QStringLiteral(" não pode conter nenhum tipo de formatação "), linhaCgc);
        else if (!ValidaCNPJImportacao(idEmpresa))
            erro(idEmpresa, QStringLiteral(" não é um CGC válido para o campo IDEMPRESA "), linhaId);
        else if (!soDigitos(idEmpresa))
            erro(idEmpresa, QStringLiteral(" não pode conter nenhum tipo de formatação "), linhaId);
    }
    if (!brasil && !pais.isEmpty() && idEmpresa != razao)
        erro(idEmpresa, QStringLiteral(" não pode ser diferente da RAZÃO SOCIAL para empresas estrangeiras "),
             linhaId);
}

QString TDataStruct::clausulaWhere() const {
    QStringList termos;
    for (int i = 0; i < quantidade(); ++i)
        if (estrutura_->campos[i].chave && !aparado(i).isEmpty())
            termos << estrutura_->campos[i].nome + QStringLiteral("= ") + nomeParametro(i);
    return QStringLiteral("where ") + termos.join(QStringLiteral(" and "));
}

QVariant TDataStruct::parametro(int i) const {
    const DefinicaoCampo& campo = estrutura_->campos[i];
    const QString v = aparado(i);
    if (v.isEmpty())
        return nulo(campo.tipo);
    switch (campo.tipo) {
    case TipoCampo::Texto:
        return v;
    case TipoCampo::InteiroCurto:
    case TipoCampo::Inteiro:
        return v.toInt();
    case TipoCampo::Float:
        return v.toDouble();
    case TipoCampo::Data:
    case TipoCampo::DataHora:
        if (const auto quando = converteData(v))
            return *quando;
        return nulo(campo.tipo);
    }
    return {};
}

bool TDataStruct::existe(const ContextoImportacao& ctx) {
    // An event's number is always the next one, so its row never exists yet.
    for (const DefinicaoCampo& campo : estrutura_->campos)
        if (campo.sequencia)
            return false;
    try {
        ConsultasPreparadas::Comando proprio;
        ConsultasPreparadas::Comando& teste = comando(ctx, u'S', proprio);
        SqliteStatement& query = instrucaoDe(ctx, teste);
        for (int k = 0; k < teste.ordem.size(); ++k)
            query.bind(k, parametro(teste.ordem[k]));
        return query.runHasRow();
    } catch (const DbError&) {
        return false; // counts as not existing; the insert then says what is wrong
    }
}

// Which key fields are filled: they make the where clause, so each set has statements of its own.
quint64 TDataStruct::chavesPreenchidas() const {
    quint64 mascara = 0;
    for (int i = 0; i < quantidade() && i < 64; ++i)
        if (estrutura_->campos[i].chave && !aparado(i).isEmpty())
            mascara |= quint64(1) << i;
    return mascara;
}

// 'S' the existence test, 'U' the update, 'I' the insert.
ConsultasPreparadas::Comando TDataStruct::montaComando(char16_t tipo) const {
    ConsultasPreparadas::Comando c;
    const QString& tabela = estrutura_->tabela;
    const QString where = clausulaWhere();
    if (tipo == u'S') {
        c.linhas << QStringLiteral("select * from ") + tabela + QLatin1Char(' ') + where;
        for (int i = 0; i < quantidade(); ++i)
            if (estrutura_->campos[i].chave && !aparado(i).isEmpty())
                c.campos << i;
    } else if (tipo == u'U') {
        QList<int> naoChave;
        for (int i = 0; i < quantidade(); ++i)
            if (!estrutura_->campos[i].chave)
                naoChave << i;
        c.linhas << QStringLiteral("Update ") + tabela + QStringLiteral(" SET ");
        for (int k = 0; k < naoChave.size(); ++k)
            c.linhas << estrutura_->campos[naoChave[k]].nome + QStringLiteral("= ") +
                            nomeParametro(naoChave[k]) +
                            (k + 1 < naoChave.size() ? QStringLiteral(",") : QString());
        c.linhas << where;
        c.ordem = naoChave;
        for (int i = 0; i < quantidade(); ++i) {
            if (!estrutura_->campos[i].chave || !aparado(i).isEmpty())
                c.campos << i;
            if (estrutura_->campos[i].chave && !aparado(i).isEmpty())
                c.ordem << i;
        }
    } else {
        c.linhas << QStringLiteral("Insert into ") + tabela << QStringLiteral("(");
        for (int i = 0; i < quantidade(); ++i) {
            const bool ultimo = i + 1 == quantidade();
            c.linhas << estrutura_->campos[i].nome + (ultimo ? QString() : QStringLiteral(","));
            c.campos << i;
        }
        c.linhas << QStringLiteral(")") << QStringLiteral("values (");
        for (int i = 0; i < quantidade(); ++i)
            c.linhas << nomeParametro(i) + (i + 1 == quantidade() ? QString() : QStringLiteral(" ,"));
        c.linhas << QStringLiteral(")");
    }
    if (c.ordem.isEmpty())
        c.ordem = c.campos;
    c.sql = c.linhas.join(QLatin1Char('\n'));
    return c;
}

ConsultasPreparadas::Comando& TDataStruct::comando(const ContextoImportacao& ctx, char16_t tipo,
                                                   ConsultasPreparadas::Comando& proprio) const {
    if (!ctx.consultas || quantidade() > 64) {
        proprio = montaComando(tipo);
        return proprio;
    }
    const ConsultasPreparadas::ChaveComando chave{estrutura_, tipo, tipo == u'I' ? 0 : chavesPreenchidas()};
    auto it = ctx.consultas->comandos.find(chave);
    if (it == ctx.consultas->comandos.end())
        it = ctx.consultas->comandos.insert(chave, montaComando(tipo));
    return *it;
}

// The issue date of the run's certificate `num`; invalid when there is none. Remembered for the file.
static QDateTime emissaoDoCertificado(const ContextoImportacao& ctx, const QString& num) {
    if (ctx.consultas && ctx.consultas->emissoes.contains(num))
        return ctx.consultas->emissoes.value(num);
    QDateTime data;
    try {
        std::optional<QSqlQuery> propria;
        QSqlQuery& query = preparada(
            ctx,
            QStringLiteral(
                "select dataemissao from certific where siglacertificador = :p1 and numcertif = :p2"),
            propria);
        query.bindValue(QStringLiteral(":p1"), ctx.sigla);
        query.bindValue(QStringLiteral(":p2"), num);
        Sql::exec(query);
        if (query.next() && !query.value(0).isNull())
            data = query.value(0).toDateTime();
        query.finish();
    } catch (const DbError&) {
        return {};
    }
    if (ctx.consultas)
        ctx.consultas->emissoes.insert(num, data);
    return data;
}

// Status and entry dates lie between the certificate's issue date as the register holds it before
// the statement (1900 for companies and products, and when there is no such certificate yet) and
// now. A certificate record is bounded the same way: a new one by 1900, so its insert runs, and its
// inclusion event then by the issue date just written.
bool TDataStruct::dentroDosLimites(const ContextoImportacao& ctx, bool inclusao) {
    const QString& tabela = estrutura_->tabela;
    QDateTime inferior = LimiteInferior;
    if (tabela.compare(QLatin1String("EMPRESA"), Qt::CaseInsensitive) != 0 &&
        tabela.compare(QLatin1String("PRODUTO"), Qt::CaseInsensitive) != 0) {
        const QDateTime emissao = emissaoDoCertificado(ctx, valor(QStringLiteral("Numcertif")));
        if (emissao.isValid())
            inferior = emissao;
    }
    const QDateTime agora = ctx.clock->now();
    for (int i = 0; i < quantidade(); ++i) {
        const DefinicaoCampo& campo = estrutura_->campos[i];
        if ((campo.tipo != TipoCampo::Data && campo.tipo != TipoCampo::DataHora) ||
            !(campo.nome.startsWith(QLatin1String("DTHSTA"), Qt::CaseInsensitive) ||
              campo.nome.startsWith(QLatin1String("DTHENT"), Qt::CaseInsensitive)))
            continue;
        const auto quando = converteData(aparado(i));
        if (!quando || (*quando >= inferior && *quando <= agora))
            continue;
        ctx.log->logBD((inclusao ? QStringLiteral("Não foi possível fazer a inclusão pois a data ")
                                 : QStringLiteral("Não foi possível fazer a Atualização pois a data ")) +
                       campo.nome +
                       QStringLiteral(" é inferior a data emissão ou superior a data do sistema!"));
        return false;
    }
    return true;
}

bool TDataStruct::executa(const ContextoImportacao& ctx, ConsultasPreparadas::Comando& comando) {
    QStringList parametros;
    parametros.reserve(comando.campos.size());
    for (int i : comando.campos)
        parametros << nomeParametro(i).mid(1) + QLatin1Char('=') + aparado(i);
    const QString carimbo =
        QStringLiteral("********* ") + textoDataHora(ctx.clock->now()) + QStringLiteral(" ***********");
    ctx.log->logBDAntes(QStringList{carimbo, QStringLiteral("Vai tentar executar")} + comando.linhas +
                        parametros);
    try {
        SqliteStatement& query = instrucaoDe(ctx, comando);
        // By position: the statement is ours and its placeholders are each used once.
        for (int k = 0; k < comando.ordem.size(); ++k)
            query.bind(k, parametro(comando.ordem[k]));
        query.runHasRow();
    } catch (const DbError& e) {
        ctx.log->logBD(
            QStringList{QStringLiteral("--------------FALHA NA EXECUÇÃO!------------------"), carimbo} +
            comando.linhas + parametros +
            QStringList{e.message(), QStringLiteral("*************************************")});
        if (ctx.prompts)
            ctx.prompts->error(e.message());
        return false;
    }
    ctx.log->logBD(
        {QStringLiteral("Executou com Sucesso"), QStringLiteral("*************************************")});
    return true;
}

TDataStruct::Gravacao TDataStruct::GravaRegistro(const ContextoImportacao& ctx) {
    const Gravacao g = grava(ctx);
    // The certificate's issue date may have changed: the records after it look it up again.
    if (ctx.consultas && estrutura_->indice(QStringLiteral("DataEmissao")) >= 0)
        ctx.consultas->emissoes.remove(valor(QStringLiteral("Numcertif")));
    return g;
}

TDataStruct::Gravacao TDataStruct::grava(const ContextoImportacao& ctx) {
    const QString& tabela = estrutura_->tabela;
    ConsultasPreparadas::Comando proprio;
    if (existe(ctx)) {
        bool temChave = false;
        for (const DefinicaoCampo& campo : estrutura_->campos)
            temChave = temChave || campo.chave;
        if (!temChave) {
            ctx.log->logBD(QStringLiteral(
                "Não foi possível fazer o update pois a estrutura não possui chave primária definida!"));
            return {false, false};
        }
        if (!dentroDosLimites(ctx, false))
            return {false, false};
        return {executa(ctx, comando(ctx, u'U', proprio)), false};
    }

    // An event takes the next number of its table (numbered within the certificate past the
    // 16-bit ceiling).
    for (int i = 0; i < quantidade(); ++i) {
        if (!estrutura_->campos[i].sequencia)
            continue;
        try {
            const QString sigla = valor(QStringLiteral("SiglaCertificador"));
            const QString num = valor(QStringLiteral("Numcertif"));
            defineValor(i, QString::number(ctx.consultas
                                               ? ctx.consultas->numeracao.next(ctx.db, tabela, sigla, num)
                                               : EventSequence::next(ctx.db, tabela, sigla, num)));
        } catch (const DbError& e) {
            defineValor(i, {});
            ctx.log->log(QStringLiteral("Erro sequencial para a tabela ") + tabela);
            ctx.log->logBD(e.message());
            return {false, false};
        }
    }
    if (!dentroDosLimites(ctx, true))
        return {false, true};
    return {executa(ctx, comando(ctx, u'I', proprio)), true};
}

QStringList TDataStruct::campos() const {
    QStringList linhas;
    for (int i = 0; i < quantidade(); ++i)
        linhas << estrutura_->campos[i].nome + QLatin1Char('=') + itens_[i].valor;
    return linhas;
}
