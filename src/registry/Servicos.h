#pragma once

#include "Certificados.h"

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariantList>
#include <optional>

class TDMCertif;

// The key of a service line.
struct ChaveServico {
    int IdClasseServ = 0;
    QString SiglaCertificador;
    QString NumCertif;
    QString CodigoPais;
    QString IdEmpresa;

    // In the column order of STATUS_S.
    QVariantList chaveEvento() const {
        return {IdClasseServ, SiglaCertificador, NumCertif, CodigoPais, IdEmpresa};
    }
    bool operator==(const ChaveServico&) const = default;
};

// One row of SERVICO as the tab "Serviços" edits it.
struct Servico {
    std::optional<int> IdClasseServ;
    QString SiglaCertificador;
    QString NumCertif;
    QString CodigoPais;
    QString IdEmpresa;
    QString StatusServico;
    QDateTime DthStatusServico;
    QDateTime DthEntCertif;
    QString Observacoes; // empty is stored as NULL
    QDateTime DthUltAtualiz;
    QString UsuResp;

    ChaveServico chave() const {
        return {IdClasseServ.value_or(0), SiglaCertificador, NumCertif, CodigoPais, IdEmpresa};
    }
    bool operator==(const Servico&) const = default;
};

// What the editor shows of the company rendering a service.
struct EmpresaDoServico {
    QString cnpj;        // punctuated
    QString razaoSocial; // the person's name for a natural person
};

// The service lines and the signatory-free routines of the tab. Every value reaches SQL as a bound
// parameter; errors are DbError; nothing here commits or rolls back.
namespace Servicos {

// The classes of service the configured certifier is accredited for, by name.
QList<ClasseItem> classesDeServico(const QSqlDatabase& db);
QString nomeDaClasse(const QSqlDatabase& db, int idClasseServ);

std::optional<Servico> carrega(const QSqlDatabase& db, const ChaveServico& chave);
// The grid's statement: key columns, then the class name and the company name. Binds :sigla, :num.
QString consultaDaGrade();
int quantos(const QSqlDatabase& db, const QString& sigla, const QString& numero);

// Case-blind: another line with the same class, certificate and company exists.
bool existe(const QSqlDatabase& db, const ChaveServico& chave);

void insere(const QSqlDatabase& db, const Servico& row);
// Writes the row over the one stored under `antiga`; the key may change.
void atualiza(const QSqlDatabase& db, const ChaveServico& antiga, const Servico& row);

// The service's events follow its new key.
void AtualizaChaveEventosServico(const QSqlDatabase& db, const ChaveServico& antiga,
                                 const ChaveServico& nova);
// Its normative-document links and their events follow its new key as well.
void atualizaChaveDocumentos(const QSqlDatabase& db, const ChaveServico& antiga, const ChaveServico& nova);
int documentosVinculados(const QSqlDatabase& db, const ChaveServico& chave);

// Deletes the line with its events, its normative-document links and their events.
void apaga(const QSqlDatabase& db, const ChaveServico& chave);

EmpresaDoServico empresa(const QSqlDatabase& db, const QString& codigoPais, const QString& idEmpresa);

} // namespace Servicos

// The service lines of the open certificate: browse and edit modes, "Aplicar", "Cancelar" and
// "E&xcluir ", with their events, the approval and Completo (status changes are the register's
// shared MudancaStatus). Boxes go through the session's prompts; no widget is touched.
class EditorServicos {
public:
    enum class Modo { Navegacao, Insercao, Edicao };

    // Registers with the register, which cancels the edit when another certificate is opened.
    explicit EditorServicos(TDMCertif& dm);
    ~EditorServicos();
    EditorServicos(const EditorServicos&) = delete;
    EditorServicos& operator=(const EditorServicos&) = delete;

    Modo modo() const { return modo_; }
    bool editando() const { return modo_ != Modo::Navegacao; }

    // The line shown: the current row in browse mode, the line being edited otherwise.
    const Servico& linha() const { return linha_; }
    Servico& linha() { return linha_; }
    bool temLinha() const { return temLinha_; }

    // Browse mode: the grid's current row (nothing when the certificate has no service).
    void mostra(const std::optional<ChaveServico>& atual);

    // "&Incluir": a new line of the open certificate, status A. Returns the entry date to show.
    QDate incluir();
    // "Seleciona Empresa Envolvida" answered OK.
    void escolheEmpresa(const QString& codigoPais, const QString& idEmpresa);
    // "&Editar" on the current line; false when there is none.
    bool editar();
    // "Aplicar" with the text of the entry-date mask; true when stored (back in browse mode).
    bool aplicar(const QString& dataEntrada);
    // "Cancelar".
    void cancelar();
    // "E&xcluir " of the current line; true when deleted.
    bool excluir();

    // ExisteRegistro("SERVICO"): the line being edited would duplicate a stored one.
    bool duplicado() const;

    static const QString CamposEmBranco;
    static const QString ServicoJaExiste;
    static const QString ServicoJaCadastrado;
    static const QString NaoPodeApagar;
    static const QString ConfirmaExclusao;
    static const QString ClasseComDocumentos;

private:
    QSqlDatabase database() const;
    void relePosErro(); // re-reads the certificate after a rolled-back write

    TDMCertif& dm_;
    Modo modo_ = Modo::Navegacao;
    Servico linha_;
    Servico guardada_; // the line as stored, shown again by "Cancelar"
    bool temLinha_ = false;
    ChaveServico chaveAntiga_;
    int registroEditor_ = 0;
};
