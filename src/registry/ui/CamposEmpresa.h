#pragma once

#include "Empresas.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSqlDatabase;

// The fields of one company, shared by the company table and the quick inclusion dialog: country
// and state chosen by name, the kind, the CNPJ or the CPF, the names and the address. Choosing a
// country or a kind relabels and shows the fields that kind of company has.
class CamposEmpresa : public QWidget {
    Q_OBJECT
public:
    explicit CamposEmpresa(QWidget* parent = nullptr);

    // Fills the country and state lists. Throws DbError.
    void carregaListas(const QSqlDatabase& db);

    void setEmpresa(const Empresa& empresa);
    // The company as typed (documents and postal code as the masks hold them).
    Empresa empresa() const;

    // Browse mode: everything read-only.
    void navega();
    // Edit mode of a new company: kind "Jurídica", every field free, the focus on the country.
    void editaNova();
    // Edit mode of a stored company: the kind is fixed; a company linked to certificates keeps
    // its identity (country, CNPJ, CPF, and the name of a foreign company).
    void editaExistente(bool vinculada);

    bool brasil() const;

private:
    void paisMudou();
    void tipoMudou();
    void aplicaTipo(bool limpar);
    bool eventFilter(QObject* watched, QEvent* event) override;
    static void marca(QLabel* label, bool bold, bool maroon);

    bool editando_ = false;
    bool inclusao_ = false;
    bool vinculada_ = false;
    QComboBox* cmbPais_;
    QRadioButton* rbJuridica_;
    QRadioButton* rbFisica_;
    QLabel* lblPais_;
    QLabel* lblCNPJ_;
    QLineEdit* edtCGC_;
    QLineEdit* edtCPF_;
    QLabel* lblRazSocial_;
    QLineEdit* edtRazSocial_;
    QLabel* lblNomFantasia_;
    QLineEdit* edtNomFantasia_;
    QLineEdit* edtNomPessoaFisica_;
    QLineEdit* edtEndLogr_;
    QLineEdit* edtEndNum_;
    QLineEdit* edtEndCompl_;
    QLabel* lblCEP_;
    QLineEdit* edtEndCEP_;
    QLineEdit* edtEndBairro_;
    QLineEdit* edtEndCidade_;
    QComboBox* cmbUF_;
    QLineEdit* edtTelefone_;
    QLineEdit* edtFax_;
    QLineEdit* edtEmail_;
};
