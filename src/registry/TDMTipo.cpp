#include "TDMTipo.h"

#include "DbError.h"
#include "TDMCertif.h"

TDMTipo::TDMTipo(TDMCertif& dm) : linhas_(dm, TipoLinha::Tipo) {}

QDate TDMTipo::dataEmissao() const {
    return dm().registro().DataEmissao;
}

bool TDMTipo::AbreTipo(const QString& sigla, const QString& numero, bool live, int importado,
                       const QString& modelo, const QString& marca) {
    const ChaveLinha chave{sigla, numero, marca, modelo, importado, {}};
    std::optional<LinhaProduto> linha;
    try {
        linha = LinhasProduto::carrega(dm().database(), TipoLinha::Tipo, chave);
    } catch (const DbError&) {
        linha.reset();
    }
    qryTipo_ = linha;
    if (!linha)
        return false;
    chave_ = chave;
    if (live)
        return linhas_.edita(chave);
    return true;
}

void TDMTipo::fechaTipo() {
    qryTipo_.reset();
    chave_.reset();
    linhas_.cancela();
}

bool TDMTipo::IncluiTipo() {
    if (!dm().temCertificadoAberto())
        return false;
    linhas_.inclui();
    return true;
}

bool TDMTipo::EditaTipo() {
    if (!chave_)
        return false;
    const ChaveLinha chave = *chave_;
    return AbreTipo(chave.SiglaCertificador, chave.NumCertif, true, chave.Importado, chave.ModeloProd,
                    chave.MarcaProd);
}

bool TDMTipo::ExcluiTipo() {
    if (!chave_)
        return false;
    try {
        LinhasProduto::apaga(dm().database(), TipoLinha::Tipo, *chave_);
    } catch (const DbError&) {
        return false;
    }
    fechaTipo();
    return true;
}

bool TDMTipo::GravaTipo(const DadosEditor& editor) {
    if (!linhas_.aplica(editor))
        return false;
    const ChaveLinha chave = linhas_.linha().chave;
    AbreTipo(chave.SiglaCertificador, chave.NumCertif, false, chave.Importado, chave.ModeloProd,
             chave.MarcaProd);
    return true;
}

bool TDMTipo::CancelaTipo() {
    linhas_.cancela();
    if (!chave_)
        return true;
    const ChaveLinha chave = *chave_;
    return AbreTipo(chave.SiglaCertificador, chave.NumCertif, false, chave.Importado, chave.ModeloProd,
                    chave.MarcaProd);
}

QString TDMTipo::ValidaTipo(const DadosEditor& editor) const {
    return linhas_.validaTipo(editor);
}

bool TDMTipo::ExisteTipo(const QString& sigla, const QString& numero, int importado, const QString& modelo,
                         const QString& marca) const {
    return LinhasProduto::existe(dm().database(), TipoLinha::Tipo,
                                 {sigla, numero, marca, modelo, importado, {}});
}

QString TDMTipo::DataInclusaoTipo() const {
    if (!chave_)
        return {};
    const QDateTime when = LinhasProduto::ultimaInclusao(dm().database(), TipoLinha::Tipo, *chave_);
    return when.isValid() ? when.toString(Qt::ISODateWithMs) : QString();
}

void TDMTipo::ApagaEventosTipo() {
    if (chave_)
        Eventos::apagaDoItem(dm().database(), EventTable::STATUS_T,
                             LinhasProduto::chaveDoEvento(TipoLinha::Tipo, *chave_));
}

bool TDMTipo::excluiLinhaAtual() {
    if (!chave_)
        return false;
    if (!linhas_.exclui(*chave_))
        return false;
    fechaTipo();
    return true;
}
