#pragma once

#include "Servicos.h"

#include <QWidget>
#include <functional>
#include <optional>
#include <utility>

class DateMaskEdit;
class GrupoStatus;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSqlQueryModel;
class QTableView;
class TDMCertif;

// Picks one of the legal persons linked to a certificate: (CodigoPais, IdEmpresa), or nothing.
using EscolheEmpresaCertificado = std::function<std::optional<std::pair<QString, QString>>(
    QWidget* parent, const QString& sigla, const QString& numero)>;

// The tab "Serviços" of the open certificate: the grid of its service lines, the editor group
// "Serviço Certificado", the group "Status do Serviço" and the browse buttons.
class TabServicos : public QWidget {
    Q_OBJECT
public:
    explicit TabServicos(TDMCertif& dm, QWidget* parent = nullptr);

    EditorServicos& editor() { return editor_; }
    GrupoStatus* grupoStatus() const { return grupoStatus_; }
    // Replaces "Seleciona Empresa Certificada" (by default the dialog TFrmSelEmpCert).
    void setEscolheEmpresa(EscolheEmpresaCertificado chooser) { escolhe_ = std::move(chooser); }

    // Re-reads the lines of the open certificate, keeping the current one when it still exists.
    void atualiza();
    // The key of the grid's current line.
    std::optional<ChaveServico> atual() const;

signals:
    // After every stored change (the register refreshes its buttons).
    void alterado();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildUi();
    std::optional<ChaveServico> chaveDaLinha(int row) const;
    void linhaMudou();
    void mostraLinha();
    void aplicaModo();
    void posiciona(const std::optional<ChaveServico>& chave);
    void preencheClasses();

    void incluir();
    void selecionaEmpresa();
    void editar();
    void aplicar();
    void cancelar();
    void excluir();

    TDMCertif& dm_;
    EditorServicos editor_;
    EscolheEmpresaCertificado escolhe_;
    QSqlQueryModel* model_;
    QTableView* grid_;
    QGroupBox* grupoServico_;
    QComboBox* classe_;
    QLineEdit* pais_;
    QLineEdit* cnpj_;
    QLineEdit* razaoSocial_;
    QPlainTextEdit* observacoes_;
    DateMaskEdit* dataEntrada_;
    QPushButton* selecionaEmpresa_;
    QPushButton* aplica_;
    QPushButton* cancela_;
    GrupoStatus* grupoStatus_;
    QPushButton* inclui_;
    QPushButton* edita_;
    QPushButton* exclui_;
    bool mostrando_ = false;
};
