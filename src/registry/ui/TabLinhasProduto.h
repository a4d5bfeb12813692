#pragma once

#include "LinhasProduto.h"
#include "TFrmSelecionaProduto.h"

#include <QLineEdit>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

class DateMaskEdit;
class GrupoStatus;
class QComboBox;
class QFormLayout;
class QGroupBox;
class QLabel;
class QPushButton;
class QSqlQueryModel;
class QTableView;
class TDMCertif;
class TDMTipo;

// A lot or serial number: upper case, the space key ignored.
class EditNumero : public QLineEdit {
    Q_OBJECT
public:
    explicit EditNumero(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// One product-line tab of the open certificate: the grid of its lines (fetched as it scrolls),
// "&Incluir", "&Editar", "E&xcluir ", the status group, and the editor with "Seleciona Produto", the
// linked company, the entry date, "Aplicar" and "Cancelar". The kinds add their own fields.
class TabLinhasProduto : public QWidget {
    Q_OBJECT
public:
    ~TabLinhasProduto() override;

    TipoLinha tipo() const { return tipo_; }
    bool editando() const;
    // Re-reads the grid for the open certificate and puts the cursor on `localizar` when given.
    void atualiza(const std::optional<ChaveLinha>& localizar = std::nullopt);
    // The key of the grid's current line.
    std::optional<ChaveLinha> chaveAtual() const;
    // The status group, for the status buttons of the lines.
    GrupoStatus* grupoStatus() const { return grpStatus_; }

    // "Novo..." of the product dialog: the quick inclusion (the default shows TFrmInclProduto).
    using InclusaoDeProduto = std::function<std::optional<ProdutoEscolhido>(QWidget* parent)>;
    void setInclusaoDeProduto(InclusaoDeProduto inclui) { inclusao_ = std::move(inclui); }

    void incluir();
    void editar();
    void excluir();
    void selecionaProduto();
    void aplicar();
    void cancelar();

signals:
    void alterado(); // after every operation that wrote

protected:
    TabLinhasProduto(TDMCertif& dm, TipoLinha tipo, const QString& sufixo, const QString& nomeCombo,
                     const QString& tituloEditor, const QString& tituloExtra, QWidget* parent);
    void montaInterface();

    void showEvent(QShowEvent* event) override;

    // The operations, through the kind's data module.
    virtual LinhasDoCertificado& linhas() = 0;
    virtual void iniciaInclusao() { linhas().inclui(); }
    virtual bool iniciaEdicao(const ChaveLinha& chave) { return linhas().edita(chave); }
    virtual bool aplicaEdicao(const DadosEditor& editor) { return linhas().aplica(editor); }
    virtual void cancelaEdicao() { linhas().cancela(); }
    virtual bool excluiLinha(const ChaveLinha& chave) { return linhas().exclui(chave); }
    // The line shown in browse mode.
    virtual std::optional<LinhaProduto> linhaMostrada(const ChaveLinha& chave);

    // The kind's own fields: built into the editor, shown, read back, enabled.
    virtual void montaCampos(QFormLayout*) {}
    virtual void mostraCampos(const LinhaProduto*) {}
    virtual void leCampos(LinhaProduto&) {}
    virtual void habilitaCampos(bool) {}
    virtual void preencheDatas(DadosEditor&) const {}

    TDMCertif& dm_;
    QWidget* editor_ = nullptr;

private:
    void modoEdicao(bool editando);
    void mostraLinha(const LinhaProduto* linha);
    void mostraProduto(const LinhaProduto& linha);
    void preencheEmpresas(const std::optional<std::pair<QString, QString>>& escolhida);
    void linhaMudou();

    TipoLinha tipo_;
    QString sufixo_;
    QString nomeCombo_;
    QString tituloEditor_;
    QString tituloExtra_;
    InclusaoDeProduto inclusao_;
    QList<EmpresaVinculada> empresas_;

    QSqlQueryModel* model_ = nullptr;
    QTableView* grid_ = nullptr;
    QPushButton* btnIncluir_ = nullptr;
    QPushButton* btnEditar_ = nullptr;
    QPushButton* btnExcluir_ = nullptr;
    QPushButton* btnSelProd_ = nullptr;
    QPushButton* btnAplicar_ = nullptr;
    QPushButton* btnCancelar_ = nullptr;
    GrupoStatus* grpStatus_ = nullptr;
    QLabel* lblProduto_ = nullptr;
    QLabel* lblEAN_ = nullptr;
    QLabel* lblEmpresa_ = nullptr;
    QComboBox* cmbEmpresa_ = nullptr;
    QLabel* lblDtEnt_ = nullptr;
    DateMaskEdit* mskDtEnt_ = nullptr;
    bool carregando_ = false;
};

// "Produtos por Tipo".
class TabProdutosTipo : public TabLinhasProduto {
    Q_OBJECT
public:
    TabProdutosTipo(TDMCertif& dm, QWidget* parent = nullptr);
    ~TabProdutosTipo() override;
    TDMTipo& dmTipo() const { return *dmTipo_; }

protected:
    LinhasDoCertificado& linhas() override;
    void iniciaInclusao() override;
    bool iniciaEdicao(const ChaveLinha& chave) override;
    bool aplicaEdicao(const DadosEditor& editor) override;
    void cancelaEdicao() override;
    bool excluiLinha(const ChaveLinha& chave) override;
    std::optional<LinhaProduto> linhaMostrada(const ChaveLinha& chave) override;

private:
    std::unique_ptr<TDMTipo> dmTipo_;
};

// "Produtos por Lote".
class TabProdutosLote : public TabLinhasProduto {
    Q_OBJECT
public:
    TabProdutosLote(TDMCertif& dm, QWidget* parent = nullptr);
    ~TabProdutosLote() override;

protected:
    LinhasDoCertificado& linhas() override { return *linhas_; }
    void montaCampos(QFormLayout* form) override;
    void mostraCampos(const LinhaProduto* linha) override;
    void leCampos(LinhaProduto& linha) override;
    void habilitaCampos(bool editando) override;
    void preencheDatas(DadosEditor& editor) const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<LinhasDoCertificado> linhas_;
    EditNumero* edtNumLote_ = nullptr;
    DateMaskEdit* mskDataValLote_ = nullptr;
    QLineEdit* edtProfInvoice_ = nullptr;
    QLineEdit* edtQuantLote_ = nullptr;
    DateMaskEdit* mskDataFabrLote_ = nullptr;
    bool checando_ = false;
};

// "Produtos por Unidade".
class TabProdutosUnidade : public TabLinhasProduto {
    Q_OBJECT
public:
    TabProdutosUnidade(TDMCertif& dm, QWidget* parent = nullptr);
    ~TabProdutosUnidade() override;

protected:
    LinhasDoCertificado& linhas() override { return *linhas_; }
    void montaCampos(QFormLayout* form) override;
    void mostraCampos(const LinhaProduto* linha) override;
    void leCampos(LinhaProduto& linha) override;
    void habilitaCampos(bool editando) override;

private:
    std::unique_ptr<LinhasDoCertificado> linhas_;
    EditNumero* edtNumSerie_ = nullptr;
    QLineEdit* edtObservacoes_ = nullptr;
    QLineEdit* edtLocalInstalacao_ = nullptr;
    QLineEdit* edtBairro_ = nullptr;
    QLineEdit* edtCidade_ = nullptr;
    QLineEdit* mskCEP_ = nullptr;
    QComboBox* cmbUF_ = nullptr;
};
