#pragma once

#include "EmpresasCertificado.h"
#include "Justificativa.h"

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <optional>
#include <utility>

class Session;

// What the register hands to the status screen of one company link.
struct EntradaAlteraStatus {
    QString sigla;      // SiglaCertificador
    QString numCertif;  // NumCertif
    QString codigoPais; // the current company
    QString idEmpresa;
    QString usuario;    // written to every UsuResp
    QString novoStatus; // S or C from the register; A is accepted too
    QString evento;     // SUS, CAN (REA)
};

// The justification and the status date typed for one operation, and the moment of writing.
struct Justificado {
    QString justificativa;
    QDateTime dataStatus;
    QDateTime agora;
};

// The routines of the company's status screen. Every value is a bound parameter; every routine
// runs inside the caller's transaction and throws DbError on any failure, so the caller rolls the
// whole operation back.
namespace AlteraStatusEmpresa {

// The product lines and services that follow their company: where they live and their status.
enum class Dependente { Tipo, Lote, Unidade, Servico };

// True when the company has an active service in the certificate, or else an active type, lot or
// unit line.
bool EmpresaPossuiVinculosAtivos(const QSqlDatabase& db, const QString& sigla, const QString& numCertif,
                                 const QString& idEmpresa, const QString& codigoPais);

// The grids of the screen, parameters :sigla, :num, :pais, :id. Products: MARCAPROD, MODELOPROD of
// the company's active lines, each pair once. Services: NOMCLASSESERV of its active services.
QString consultaProdutos();
QString consultaServicos();
int servicosAtivos(const QSqlDatabase& db, const EntradaAlteraStatus& e);

// The companies linked to the certificate, by corporate name and then person's name; each with
// its key, so two companies of one name are never confused.
QList<EmpresaVinculada> empresas(const QSqlDatabase& db, const QString& sigla, const QString& numCertif);

// The link takes the new status (its status date is the typed one) and gets its event.
void AlteraStatusEmpCert(const QSqlDatabase& db, const EntradaAlteraStatus& e, const Justificado& j);
// One event per active line of the table for the company; `novoStatus` empty keeps each line's
// own status in its event. Returns the number of events written.
int GeraEventosLinhasAtivas(const QSqlDatabase& db, Dependente tabela, const EntradaAlteraStatus& e,
                            const QString& evento, const QString& novoStatus, const Justificado& j);
// Every active type, lot, unit line and service of the company gets its event and the new status,
// with the typed status date, DthUltAtualiz and UsuResp.
void PropagaStatusEmpresa(const QSqlDatabase& db, const EntradaAlteraStatus& e, const Justificado& j);
// Every active type, lot and unit line of the company gets an ALT event and moves to the new
// company; services stay.
void TransfereEmpresaProdutos(const QSqlDatabase& db, const EntradaAlteraStatus& e, const Justificado& j,
                              const QString& novoCodigoPais, const QString& novaIdEmpresa);
void DesaprovaCertificado(const QSqlDatabase& db, const QString& sigla, const QString& numCertif);

} // namespace AlteraStatusEmpresa

// The status screen's operations without widgets: "Propagar" and "Transferir" with their
// confirmations, the justification, one transaction each and their messages.
class AlteracaoStatusEmpresa {
public:
    AlteracaoStatusEmpresa(Session& session, JustificationAsker asker, EntradaAlteraStatus entrada);

    const EntradaAlteraStatus& entrada() const { return entrada_; }
    QSqlDatabase database() const;
    Session& session() const { return session_; }

    // Captions by new status; empty for any other status (the screen keeps its own).
    QString legendaStatus() const;
    QString legendaTransferir() const;

    // The current company, and the others the lines may move to.
    std::optional<EmpresaVinculada> empresaAtual() const;
    QList<EmpresaVinculada> outrasEmpresas() const;

    // "Propagar" and "Transferir": true when written. After one of them succeeded both are done.
    bool propagar();
    bool transferir(const std::optional<std::pair<QString, QString>>& novaEmpresa);
    bool concluida() const { return concluida_; }

    static const QString ConfirmaPropagacao;
    static const QString PropagacaoRealizada;
    static const QString ErroPropagacao;
    static const QString ConfirmaTransferencia;
    static const QString ExisteServico;
    static const QString SelecioneNovaEmpresa;
    static const QString TransferenciaRealizada;
    static const QString ErroTransferencia;

private:
    std::optional<Justificado> perguntaJustificativa();

    Session& session_;
    JustificationAsker asker_;
    EntradaAlteraStatus entrada_;
    bool concluida_ = false;
};
