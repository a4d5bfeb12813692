#pragma once

#include "TDMDocNorm.h"

#include <QDialog>
#include <functional>
#include <optional>

class DateMaskEdit;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStandardItemModel;
class QTableView;

// "Documentos Normativos": the normative documents linked to one item of the open certificate (the
// certificate's products, a type, lot or unit line, a service line). Lists the links, links a
// document of the applicable reference list, removes a link the authority does not hold yet,
// changes a link's status with a justification and opens the link's history.
class TFrmDocumentosNormativos : public QDialog {
    Q_OBJECT
public:
    TFrmDocumentosNormativos(TDMCertif& certif, const ItemDocNorm& item, QWidget* parent = nullptr);

    TDMDocNorm& dm() { return dm_; }
    bool editando() const { return editando_; }
    // The grid's current link.
    std::optional<VinculoDocNorm> atual() const;

    // Replaces the history screen (by default TFrmGeraHistorico, shown modally).
    using AbreHistorico = std::function<void(QWidget* parent, EventTable tabela, const QVariantList& chave,
                                             const QString& status)>;
    void setAbreHistorico(AbreHistorico abre) { abreHistorico_ = std::move(abre); }

    void incluir();
    void aplicar();
    void cancelar();
    void excluir();
    void mudaStatus(const QString& status);
    void historico();

private:
    void mostra(std::optional<int> localizar = std::nullopt);
    void modoEdicao(bool editando);
    void ajustaLargura();
    static constexpr int LarguraMinima = 560;
    static constexpr int LarguraMaxima = 860;
    void linhaMudou();
    void preencheCandidatos(std::optional<int> idTipoDoc);
    void localiza(int indice);
    void tituloEscolhido(int index);
    void identificacaoEscolhida(int index);
    void tipoEscolhido(int index);
    void habilitaAplicar();

    TDMDocNorm dm_;
    AbreHistorico abreHistorico_;
    QList<VinculoDocNorm> vinculos_;
    QList<CandidatoDocNorm> candidatos_;
    QList<TipoDocumento> tipos_;
    int escolhido_ = -1; // the candidate last located
    bool editando_ = false;

    QLabel* lblObservacao_;
    QGroupBox* grbReferenteA_;
    QRadioButton* rbtProdutos_;
    QRadioButton* rbtServicos_;
    QStandardItemModel* model_;
    QTableView* grid_;
    QGroupBox* grbDocNormDados_;
    QComboBox* cmbIdentificacao_;
    QComboBox* cmbTitulo_;
    QComboBox* cmbTipoDoc_;
    DateMaskEdit* edtDataEntrada_;
    QLineEdit* dbIdDocNorm_;
    QLineEdit* dbNomeTitulo_;
    QLineEdit* dbTipoDoc_;
    QLineEdit* dbDataEntrada_;
    QPushButton* aplicar_;
    QPushButton* cancelar_;
    QGroupBox* grpStatus_;
    QLabel* lbStatus_;
    QPushButton* suspender_;
    QPushButton* ativar_;
    QPushButton* cancelarStatus_;
    QPushButton* incluir_;
    QPushButton* excluir_;
    QPushButton* historico_;
    QPushButton* sair_;
};
