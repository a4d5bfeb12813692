#pragma once

#include "PreparaRemessa.h"
#include "RunGuardedDialog.h"

#include <QElapsedTimer>
#include <atomic>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStandardItemModel;
class QTableView;
class Session;
struct SharedBatchState;

// "Prepara Nova Remessa": the choice of a partial or complete batch, the preparation with its
// progress, and its result. "Prévia" counts, per table, what the chosen batch would carry without
// writing anything.
//
// The preparation runs on the window's own thread: it reports its progress between steps and
// every few rows, and from there the window lets pending events run, so it keeps painting and
// "Interrompe Preparação" is taken at once. While a run is under way the window cannot be closed.
class TFrmNovaRemessa : public RunGuardedDialog {
    Q_OBJECT
public:
    // `numeroAnterior`: the number of the latest batch, or "0000000000" when there is none.
    TFrmNovaRemessa(Session& session, SharedBatchState& state, QString numeroAnterior,
                    QWidget* parent = nullptr);

    bool emAndamento() const { return running_; }
    const PreparationResult& resultado() const { return result_; }

    // Texts of the screen's own messages.
    static QString textoSemTipo();  // "É obrigatória a escolha de um tipo de remessa."
    static QString tituloSemTipo(); // "Tipo de Remessa"

protected:
    bool isRunning() const override { return running_; }

private:
    void BtInicioClick();
    void BtInterrompeClick();
    void BtPreviaClick();

    // The chosen batch type ("C" or "T"), empty when none is chosen (the box is then shown).
    QString tipoEscolhido();
    void comecaExecucao(const QString& tipo);
    void terminaExecucao();
    void mostraProgresso(const PreparationProgress& progress);
    void deixaEventosCorrerem(bool agora);
    void mostraResultado(const PreparationResult& result, const QString& tipo);
    void mostraPrevia(const PreviewResult& preview);
    void mostraMensagem(const PreparationResult& result);

    Session& session_;
    SharedBatchState& state_;
    QString numeroAnterior_;
    PreparaRemessa prepara_;
    std::atomic_bool interromper_{false};
    bool running_ = false;
    QElapsedTimer sinceEvents_;
    PreparationResult result_;

    QGroupBox* RGTipoRemessa_;
    QButtonGroup* tipos_;
    QRadioButton* rbParcial_;
    QRadioButton* rbCompleta_;
    QWidget* progresso_;
    QWidget* progressoTabelas_;
    QWidget* progressoArquivo_;
    QLabel* LblTabela_;
    QLabel* LblOperacao_;
    QProgressBar* PbTabelas_;
    QProgressBar* PbArquivo_;
    QLabel* CkTabelas_;
    QLabel* CkArquivo_;
    QLineEdit* EdResultado_;
    QLineEdit* EdNumeroRemessa_;
    QLineEdit* EdArquivoRemessa_;
    QStandardItemModel* previa_;
    QTableView* GrPrevia_;
    QLabel* LblPrevia_;
    QPushButton* BtInicio_;
    QPushButton* BtInterrompe_;
    QPushButton* BtPrevia_;
    QPushButton* BtSaida_;
};
