#pragma once

#include "SelectionQueries.h"

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>
#include <utility>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;
class ModeloSelecao;
class Session;

// The chosen company: the row of the search list.
struct EmpresaEscolhida {
    QString CodigoPais;
    QString NomePais;
    QString IdEmpresa;
    QString CGC;
    QString RazSocialEmp;
    QString NomFantasia;
    QString TipoPessoa;
    QString NomPessoaFisica;
    QString CPF;

    // "99.999.999/9999-99" for a legal person, "999999999-99" for a natural person.
    QString documentoFormatado() const;
    // The corporate name, or the person's name for a natural person.
    QString nome() const;
};

// "Seleciona Empresa": finds companies by country, kind, CNPJ/CPF prefix and names.
class TFrmSelecionaEmpresa : public QDialog {
    Q_OBJECT
public:
    explicit TFrmSelecionaEmpresa(Session& session, QWidget* parent = nullptr);
    ~TFrmSelecionaEmpresa() override;

    // "Nova..." is visible unless the caller hides it.
    void setNovaVisivel(bool visivel);

    // "Nova..." opens the quick company inclusion: it returns the key (CodigoPais, IdEmpresa) of the
    // company it included, or nothing when the inclusion was not confirmed.
    void setInclusaoDeEmpresa(std::function<std::optional<std::pair<QString, QString>>()> inclui);

    // The company under the cursor when closed with "Ok"; nothing otherwise.
    std::optional<EmpresaEscolhida> escolhida() const;

private:
    void buildUi();
    void tipoMudou();
    void filtra();
    void ordena(int column);
    void ok();
    void nova();
    void limpaCampos();
    void executa();
    std::optional<EmpresaEscolhida> linhaAtual() const;

    Session& session_;
    std::function<std::optional<std::pair<QString, QString>>()> inclui_;
    ModeloSelecao* model_ = nullptr;
    QTableView* grid_ = nullptr;
    QLabel* lblQuant_ = nullptr;
    QComboBox* cbxPais_ = nullptr;
    QRadioButton* rbFisica_ = nullptr;
    QRadioButton* rbJuridica_ = nullptr;
    QLabel* lblCnpjCpf_ = nullptr;
    QLineEdit* edtCnpjCpf_ = nullptr;
    QLabel* lblNome_ = nullptr;
    QLineEdit* edtNome_ = nullptr;
    QLineEdit* edtRazSocial_ = nullptr;
    QPushButton* btnNova_ = nullptr;

    FiltroEmpresa filtro_;
    EmprOrdem ordem_ = EmprOrdem::Nenhuma;
    std::optional<EmpresaEscolhida> escolhida_;
};
