// Every window and dialog of the program, opened as a user meets it, and checked as a user of this
// platform's fonts and of a screen reader would find it:
// - the window can be resized, never below a size that shows every control whole;
// - no visible control is smaller than its minimum size hint, at the size the window opens with and
//   at the smallest size it can be given;
// - every grid shows at least eight rows at both sizes;
// - every focusable control has an accessible name (its label's caption, its own text, or a tool
//   button's hint);
// - a click into an empty masked field puts the cursor at the mask's first position;
// - nothing in sight overlaps a sibling or reaches outside its parent, no caption of a label or a
//   button is wider than its control, and no grid cuts a column's title or the text of a row in
//   sight, at both sizes (measured with the fonts the program runs with).
//
// A screen added later is checked by adding one line to `telas` below.

#include "ApprovalFunctions.h"
#include "GrupoStatus.h"
#include "HelpWindow.h"
#include "MontaRegistro.h"
#include "PrintQString.h"
#include "RegistryFunctions.h"
#include "ReportLayout.h"
#include "ReportPreview.h"
#include "SampleReference.h"
#include "SettingsFunctions.h"
#include "SharedBatchState.h"
#include "ShellFixture.h"
#include "Sql.h"
#include "TDMCertif.h"
#include "TFormPrincipal.h"
#include "TFrmAjuda.h"
#include "TFrmAlteraSenha.h"
#include "TFrmAlteraStatusEmpresa.h"
#include "TFrmAtualizaVersao.h"
#include "TFrmCertificadosAVencer.h"
#include "TFrmConfResultadoManual.h"
#include "TFrmDetalhesEmpresa.h"
#include "TFrmDocumentosNormativos.h"
#include "TFrmEnviaTXT_FTP.h"
#include "TFrmGeraHistorico.h"
#include "TFrmGravaDisquete.h"
#include "TFrmInclEmpresa.h"
#include "TFrmInclProduto.h"
#include "TFrmJustificativa.h"
#include "TFrmLoginUsuario.h"
#include "TFrmNovaRemessa.h"
#include "TFrmPrincipalRemessas.h"
#include "TFrmPrincipalVersoes.h"
#include "TFrmRelatorioCertificados.h"
#include "TFrmResultadoAutomatico.h"
#include "TFrmResultadoManual.h"
#include "TFrmSelEmpCert.h"
#include "TFrmSelecaoResultado.h"
#include "TFrmSelecaoTransferencia.h"
#include "TFrmSelecionaCertificado.h"
#include "TFrmSelecionaEmpresa.h"
#include "TFrmSelecionaProduto.h"
#include "TFrmSenhaAdministrador.h"
#include "TFrmTransfereArquivo.h"
#include "TFrmTransfereSMTP.h"
#include "TFrmVersaoAnterior.h"
#include "TfrmImporta.h"
#include "Versoes.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSizeGrip>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTextDocument>
#include <QToolButton>
#include <memory>

namespace {

// The program over a fresh database: the certifier OCC1 with the sample reference data, the
// administrator logged in, one company, one certificate, and the main window with every function
// installed. Each opener checks that it reached the state it names, so no screen goes unchecked.
struct Programa : ShellFixture {
    QSqlDatabase db;
    TDMCertif certif{session};
    std::vector<std::unique_ptr<QWidget>> janelas;
    MostraTelaDocumentos mostraDocumentos; // how the register shows its documents and history
    QDialog* telaAberta = nullptr;         // the last dialog the program opened, kept open
    const QString numero = QStringLiteral("CERT-1");

    Programa() {
        db = home.openDatabase();
        Sql::execute(db, QStringLiteral("INSERT INTO CONFIG_LOCAL (SiglaCertificador, NomeOCC) "
                                        "VALUES ('OCC1', 'Organismo Um')"));
        capaSistema.siglaCertificadorConfigurada();
        loadSampleReference(db, QStringLiteral("OCC1"));
        Sql::execute(db, QStringLiteral("UPDATE USU_LOCAL SET SiglaCertificador = 'OCC1'"));
        session.setUser(LoggedUser{QStringLiteral("admin"), QStringLiteral("OCC1"), Permissions::all()});
        Sql::execute(
            db,
            QStringLiteral("INSERT INTO EMPRESA (CodigoPais, IdEmpresa, TipoPessoa, CGC, RazSocialEmp, "
                           "NomFantasia, DthUltAtualiz, UsuResp) VALUES ('BR', '11222333000181', "
                           "'1', '11222333000181', 'Fábrica de Brinquedos Ltda', 'Brinquedos', "
                           ":d, 'admin')"),
            {{":d", clock.now()}});
        criaCertificado();
    }

    void criaCertificado() {
        if (!certif.Novo())
            return;
        certif.registro().NumCertif = numero;
        certif.registro().IdClasseCertif = QStringLiteral("COMP");
        certif.registro().IdClasseProd = 110;
        EXPECT_TRUE(certif.salvaInclusao(QStringLiteral("10/11/2015"), QStringLiteral("10/11/2018")).salvo);
        certif.fecha();
    }

    template <typename W> W* guarda(W* janela) {
        janelas.emplace_back(janela);
        janela->show();
        return janela;
    }

    // The main window with everything the program installs, showing `pagina`.
    QWidget* principal(std::optional<ShellFunction> pagina = std::nullopt) {
        installSettingsFunctions(window, capaSistema);
        installRegistry(window, capaSistema);
        installApprovalPage(window);
        window.show();
        window.applyLogin(session.user());
        if (pagina) {
            window.runFunction(*pagina);
            EXPECT_NE(window.currentPage(), TFrmCapaSistema::PageId::Principal);
        }
        return &window;
    }

    // The register, showing `painel`; the certificate selection answers with the sample certificate.
    TFormPrincipal* registro(const QString& painel = QStringLiteral("Principal")) {
        auto* form = guarda(new TFormPrincipal(certif));
        montaRegistro(*form, mostraDocumentos);
        form->setEscolheCertificado([this](QWidget*) {
            return std::optional(ChaveCertificado{QStringLiteral("OCC1"), numero});
        });
        if (painel == QLatin1String("NovoCertificado"))
            form->novoCertificado();
        else if (painel == QLatin1String("ModificaCertificado"))
            form->modificaCertificado();
        else if (painel == QLatin1String("ExcluiCertificado"))
            form->excluiCertificado();
        else if (painel == QLatin1String("TabKavorel"))
            form->tabelasKavorel();
        else
            form->MostraPainel(painel);
        EXPECT_EQ(form->painelAtual(), painel);
        return form;
    }

    // The register with the sample certificate open on the tab `indice` of "Modifica Certificado".
    TFormPrincipal* aba(int indice) {
        TFormPrincipal* form = registro(QStringLiteral("ModificaCertificado"));
        clica(form, "btnSelCertModificacao");
        auto* abas = form->findChild<QTabWidget*>(QStringLiteral("PControlModificaCertif"));
        abas->setCurrentIndex(indice);
        EXPECT_TRUE(certif.temCertificadoAberto());
        EXPECT_EQ(abas->currentIndex(), indice);
        return form;
    }

    // The same, with the tab's "Incluir" pressed (the product or company chooser it opens is closed).
    TFormPrincipal* incluindo(int indice, const char* botao) {
        TFormPrincipal* form = aba(indice);
        onNextModal([](QWidget* modal) {
            if (modal)
                modal->close();
        });
        clica(form, botao);
        EXPECT_TRUE(editando(form)) << botao;
        return form;
    }

    // A line editor is open: its "Aplicar" can be pressed.
    static bool editando(QWidget* janela) {
        const auto botoes = janela->findChildren<QAbstractButton*>();
        return std::any_of(botoes.cbegin(), botoes.cend(), [janela](const QAbstractButton* b) {
            return b->text() == QLatin1String("Aplicar") && b->isVisibleTo(janela) && b->isEnabled();
        });
    }

    TFormPrincipal* kavorel(int indice) {
        TFormPrincipal* form = registro(QStringLiteral("TabKavorel"));
        form->findChild<QTabWidget*>(QStringLiteral("PControlTabKavorel"))->setCurrentIndex(indice);
        return form;
    }

    // Presses an "Incluir": the editing mode it opens disables it until "Ok" or "Cancela".
    template <typename W> W* clicando(W* janela, const char* nome) {
        clica(janela, nome);
        auto* botao = janela->template findChild<QAbstractButton*>(QString::fromLatin1(nome));
        EXPECT_TRUE(botao && !botao->isEnabled()) << nome << " did not open its editing mode";
        return janela;
    }

    // Picks "Física" (rbFisica) wherever the screen asks for the kind of person.
    template <typename W> W* pessoaFisica(W* janela) {
        bool escolhida = false;
        for (auto* radio : janela->template findChildren<QRadioButton*>()) {
            if (radio->objectName() == QLatin1String("rbFisica") && radio->isVisibleTo(janela) &&
                radio->isEnabled()) {
                radio->click();
                escolhida = radio->isChecked();
            }
        }
        EXPECT_TRUE(escolhida) << "no \"Física\" to choose";
        return janela;
    }

    static void clica(QWidget* janela, const char* nome) {
        auto* botao = janela->findChild<QAbstractButton*>(QString::fromLatin1(nome));
        ASSERT_NE(botao, nullptr) << nome;
        QTest::mouseClick(botao, Qt::LeftButton);
    }

    // The sample certificate's company, with a second company linked beside it, holding an active
    // line of each kind and a service: every tab of the certificate has a current item, and the
    // company link has active lines.
    void comLinhas() {
        const QDateTime entrada(QDate(2015, 11, 12), QTime(0, 0));
        Sql::execute(
            db,
            QStringLiteral("INSERT INTO EMPRESA (CodigoPais, IdEmpresa, TipoPessoa, CGC, RazSocialEmp, "
                           "NomFantasia, DthUltAtualiz, UsuResp) VALUES ('BR', '45997418000153', '1', "
                           "'45997418000153', 'Beta Instalações S.A.', 'Beta', :d, 'admin')"),
            {{":d", clock.now()}});
        for (const char* id : {"11222333000181", "45997418000153"})
            Sql::execute(
                db,
                QStringLiteral("INSERT INTO EMP_CERT (SiglaCertificador, NumCertif, CodigoPais, "
                               "IdEmpresa, StatusEmpresa, IdPapelEmp, DthEntEmpresa, DthStatusEmpresa, "
                               "DthUltAtualiz, UsuResp) VALUES ('OCC1', :num, 'BR', :id, 'A', 1, :d, "
                               ":d, :d, 'admin')"),
                {{":num", numero}, {":id", QString::fromLatin1(id)}, {":d", entrada}});
        Sql::execute(db,
                     QStringLiteral("INSERT INTO PRODUTO (MarcaProd, ModeloProd, Importado, DthUltAtualiz, "
                                    "UsuResp) VALUES ('ACME', 'T1', 0, :d, 'admin')"),
                     {{":d", clock.now()}});
        struct Linha {
            const char* tabela;
            const char* colunaNumero; // with its trailing comma, empty for a type
            const char* status;
        };
        for (const Linha& l : {Linha{"TIPO", "", "StatusProduto"}, Linha{"LOTE", "NumLote, ", "StatusLote"},
                               Linha{"UNIDADE", "NumSerieProd, ", "StatusUnidade"}}) {
            const QString coluna = QString::fromLatin1(l.colunaNumero);
            Sql::execute(
                db,
                QStringLiteral("INSERT INTO %1 (%2SiglaCertificador, NumCertif, MarcaProd, ModeloProd, "
                               "Importado, %3, Dth%3, DthEntCertif, CodigoPais, IdEmpresa, "
                               "DthUltAtualiz, UsuResp) VALUES (%4'OCC1', :num, 'ACME', 'T1', 0, 'A', "
                               ":d, :d, 'BR', '11222333000181', :d, 'admin')")
                    .arg(QString::fromLatin1(l.tabela), coluna, QString::fromLatin1(l.status),
                         coluna.isEmpty() ? QString() : QStringLiteral("'N-1', ")),
                {{":num", numero}, {":d", entrada}});
        }
        // A service document for the certificate's class, so the service has one to link.
        Sql::execute(
            db, QStringLiteral("INSERT INTO DOC_NORMATIVOS_SERV (IdDocNorm, IdClasseCertif, IdClasseServ, "
                               "NomeTitulo, IdTipoDoc, StatusDoc) SELECT 2901, 'COMP', 10, NomeTitulo, "
                               "IdTipoDoc, 'A' FROM DOC_NORMATIVOS_SERV WHERE IdDocNorm = 2001"));
        Sql::execute(
            db,
            QStringLiteral("INSERT INTO SERVICO (IdClasseServ, SiglaCertificador, NumCertif, CodigoPais, "
                           "IdEmpresa, StatusServico, DthStatusServico, DthEntCertif, DthUltAtualiz, "
                           "UsuResp) VALUES (10, 'OCC1', :num, 'BR', '11222333000181', 'A', :d, :d, "
                           ":d, 'admin')"),
            {{":num", numero}, {":d", entrada}});
    }

    // The status group of the tab in sight, shown for the tab's current item.
    static GrupoStatus* grupoStatus(TFormPrincipal* form) {
        auto* abas = form->findChild<QTabWidget*>(QStringLiteral("PControlModificaCertif"));
        for (GrupoStatus* grupo : abas->currentWidget()->findChildren<GrupoStatus*>())
            if (grupo->isVisibleTo(form))
                return grupo;
        return nullptr;
    }

    // The tab `indice` over the certificate with its lines, its status group showing the current item.
    TFormPrincipal* comItem(int indice) {
        comLinhas();
        TFormPrincipal* form = aba(indice);
        QCoreApplication::processEvents();
        EXPECT_NE(grupoStatus(form), nullptr) << "no status group on the tab " << indice;
        return form;
    }

    // "Alteração de Status", as suspending the company link of a company with active lines opens it.
    QWidget* alteraStatusEmpresa() {
        TFormPrincipal* form = comItem(1);
        GrupoStatus* grupo = grupoStatus(form);
        if (!grupo)
            return nullptr;
        EXPECT_EQ(grupo->item(), ItemStatus::Empresa);
        grupo->setAbrePropagacao([this](QWidget*, const EntradaAlteraStatus& entrada) {
            telaAberta = guarda(new TFrmAlteraStatusEmpresa(session, certif.justificationAsker(), entrada));
        });
        clica(grupo, itemStatusInfo(ItemStatus::Empresa).botaoSuspende.toLatin1().constData());
        auto* tela = qobject_cast<TFrmAlteraStatusEmpresa*>(telaAberta);
        EXPECT_NE(tela, nullptr) << "the status change did not lead to the propagation screen";
        if (tela) {
            EXPECT_GT(tela->findChild<QTableView*>(QStringLiteral("DBGridProduto"))->model()->rowCount(), 0);
            EXPECT_GT(tela->findChild<QComboBox*>(QStringLiteral("cmbEmpVinculadaTipo"))->count(), 0);
        }
        return tela;
    }

    // The screen the register's `botao` opens for the current item of the tab `indice` (over the
    // certificate with its lines), kept open instead of shown modally.
    template <typename W> W* abrePeloRegistro(int indice, const char* botao) {
        mostraDocumentos = [this](std::unique_ptr<QDialog> tela) {
            telaAberta = tela.release();
            telaAberta->setParent(nullptr, telaAberta->windowFlags());
            guarda(telaAberta);
        };
        TFormPrincipal* form = comItem(indice);
        clica(form, botao);
        auto* tela = qobject_cast<W*>(telaAberta);
        EXPECT_NE(tela, nullptr) << botao << " opened no " << W::staticMetaObject.className();
        return tela;
    }

    // "Documentos Normativos" of the tab's item, with one document linked as a user links it.
    TFrmDocumentosNormativos* documentos(EscopoDocNorm escopo, int indice) {
        auto* tela = abrePeloRegistro<TFrmDocumentosNormativos>(indice, "btbDocNorm");
        if (!tela)
            return nullptr;
        EXPECT_EQ(tela->dm().item().escopo, escopo);
        clicando(tela, "btnIncDocNorm");
        auto* lista = tela->findChild<QComboBox*>(QStringLiteral("cmbIdentificacao"));
        EXPECT_GT(lista->count(), 0) << "no document to link";
        lista->setCurrentIndex(0);
        emit lista->activated(0);
        clica(tela, "bbtAplicarDocNorm");
        EXPECT_FALSE(tela->editando());
        EXPECT_TRUE(tela->atual().has_value()) << "no link in the grid";
        return tela;
    }

    // "Histórico" of the tab's item, with a note added as a user adds it.
    TFrmGeraHistorico* historico(int indice) {
        auto* tela = abrePeloRegistro<TFrmGeraHistorico>(indice, "BtnCadHistorico");
        if (!tela)
            return nullptr;
        clicando(tela, "btnInEmpCertEd");
        tela->findChild<QLineEdit*>(QStringLiteral("EdtJustificativa"))->setText(QStringLiteral("Visita"));
        clica(tela, "btnAplEdEmpCert");
        EXPECT_FALSE(tela->incluindo());
        EXPECT_GT(tela->findChild<QTableView*>(QStringLiteral("GridStatus"))->model()->rowCount(), 0);
        return tela;
    }

    // "Histórico" of a linked document, as the documents screen's "Cad. Histórico" opens it.
    TFrmGeraHistorico* historicoDoDocumento() {
        TFrmDocumentosNormativos* documentos = this->documentos(EscopoDocNorm::Tipo, 2);
        if (!documentos)
            return nullptr;
        documentos->setAbreHistorico(
            [this](QWidget*, EventTable tabela, const QVariantList& chave, const QString& status) {
                telaAberta = guarda(new TFrmGeraHistorico(certif, tabela, chave, status, std::nullopt));
            });
        clica(documentos, "BtnCadHistorico");
        auto* tela = qobject_cast<TFrmGeraHistorico*>(telaAberta);
        EXPECT_NE(tela, nullptr) << "\"Cad. Histórico\" opened no history";
        return tela;
    }

    // The versions screens over a history of one installation.
    void comVersao() {
        Versoes::RegistraVersao(db, clock, QStringLiteral("2015.11"), QStringLiteral("TabAux201511.zip"));
    }
    template <typename W> W* comLinhasNaGrade(W* janela, const char* grade) {
        auto* view = janela->template findChild<QTableView*>(QString::fromLatin1(grade));
        EXPECT_TRUE(view && view->model()->rowCount() > 0) << grade << " shows no row";
        return janela;
    }

    // The batch screens, over one batch prepared and waiting for its delivery.
    SharedBatchState remessas;
    void comRemessa() {
        Sql::execute(
            db,
            QStringLiteral("INSERT INTO CONTROLE (DataHoraEvento, NumeroRemessa, TipoRemessa, Evento, "
                           "Usuario, Obs) VALUES (:d, '2015112501', 'C', 'PR', 'admin', NULL)"),
            {{":d", QDateTime(QDate(2015, 11, 25), QTime(8, 0))}});
    }
};

struct Tela {
    const char* nome;
    std::function<QWidget*(Programa&)> abre; // the window showing the screen, already shown
};

void PrintTo(const Tela& tela, std::ostream* os) {
    *os << tela.nome;
}

const std::vector<Tela> telas{
    // The main window and its pages.
    {"Principal", [](Programa& p) { return p.principal(); }},
    {"CadastroUsuarios", [](Programa& p) { return p.principal(ShellFunction::CadUsuarios); }},
    {"CadastroUsuariosIncluindo",
     [](Programa& p) {
         QWidget* w = p.principal(ShellFunction::CadUsuarios);
         Programa::clica(w, "bbtIncluir");
         return w;
     }},
    {"ConfigCertificador", [](Programa& p) { return p.principal(ShellFunction::Certificador); }},
    {"ConfiguraDiretorios", [](Programa& p) { return p.principal(ShellFunction::Diretorios); }},
    {"AprovaCertificados", [](Programa& p) { return p.principal(ShellFunction::AprovaCertificados); }},
    // The settings dialogs and the about box.
    {"TFrmLoginUsuario", [](Programa& p) { return p.guarda(new TFrmLoginUsuario(p.session)); }},
    {"TFrmAlteraSenha", [](Programa& p) { return p.guarda(new TFrmAlteraSenha(p.session)); }},
    {"TFrmSenhaAdministrador", [](Programa& p) { return p.guarda(new TFrmSenhaAdministrador(p.session)); }},
    {"TFrmAjuda", [](Programa& p) { return p.guarda(new TFrmAjuda); }},
    {"HelpWindow",
     [](Programa& p) {
         auto* manual = p.guarda(new HelpWindow);
         manual->showTopic(QStringLiteral("howto-remessa.md"));
         return manual;
     }},
    {"TfrmImporta",
     [](Programa& p) {
         ImportacaoTxt::Parametros parametros;
         parametros.db = p.session.database();
         parametros.clock = &p.clock;
         parametros.prompts = &p.prompts;
         parametros.usuario = p.session.user().SiglaUsu;
         return p.guarda(new TfrmImporta(parametros, p.home.path()));
     }},
    // The register: its panels, the tabs of "Modifica Certificado" and their editors.
    {"RegistroPrincipal", [](Programa& p) { return p.registro(); }},
    {"NovoCertificado", [](Programa& p) { return p.registro(QStringLiteral("NovoCertificado")); }},
    {"ModificaCertificadoSemCertificado",
     [](Programa& p) { return p.registro(QStringLiteral("ModificaCertificado")); }},
    {"DadosGerais", [](Programa& p) { return p.aba(0); }},
    {"EmpresasEnvolvidas", [](Programa& p) { return p.aba(1); }},
    {"EmpresasEnvolvidasIncluindo", [](Programa& p) { return p.incluindo(1, "btnInEmpCertEd"); }},
    {"ProdutosPorTipo", [](Programa& p) { return p.aba(2); }},
    {"ProdutosPorTipoIncluindo", [](Programa& p) { return p.incluindo(2, "btnIncluiTipo"); }},
    {"ProdutosPorLote", [](Programa& p) { return p.aba(3); }},
    {"ProdutosPorLoteIncluindo", [](Programa& p) { return p.incluindo(3, "btnIncluiLote"); }},
    {"ProdutosPorUnidade", [](Programa& p) { return p.aba(4); }},
    {"ProdutosPorUnidadeIncluindo", [](Programa& p) { return p.incluindo(4, "btnIncluiUnidade"); }},
    {"Servicos", [](Programa& p) { return p.aba(5); }},
    {"ServicosIncluindo", [](Programa& p) { return p.incluindo(5, "btnIncluiServico"); }},
    {"ExcluiCertificado", [](Programa& p) { return p.registro(QStringLiteral("ExcluiCertificado")); }},
    {"TabEmpresa", [](Programa& p) { return p.registro(QStringLiteral("TabEmpresa")); }},
    {"TabProduto", [](Programa& p) { return p.registro(QStringLiteral("TabProduto")); }},
    {"TabEmpresaIncluindo",
     [](Programa& p) { return p.clicando(p.registro(QStringLiteral("TabEmpresa")), "btnIncluir"); }},
    {"TabEmpresaIncluindoPessoaFisica",
     [](Programa& p) {
         return p.pessoaFisica(p.clicando(p.registro(QStringLiteral("TabEmpresa")), "btnIncluir"));
     }},
    {"TabProdutoIncluindo",
     [](Programa& p) { return p.clicando(p.registro(QStringLiteral("TabProduto")), "btnIncluiProduto"); }},
    {"Signatarios", [](Programa& p) { return p.registro(QStringLiteral("Signatarios")); }},
    {"SignatariosIncluindo",
     [](Programa& p) {
         return p.clicando(p.registro(QStringLiteral("Signatarios")), "btnIncluiSignatario");
     }},
    {"TabelasKavorelClasseProdutos", [](Programa& p) { return p.kavorel(0); }},
    {"TabelasKavorelClasseServicos", [](Programa& p) { return p.kavorel(1); }},
    {"TabelasKavorelPais", [](Programa& p) { return p.kavorel(2); }},
    {"TabelasKavorelPapelEmpresa", [](Programa& p) { return p.kavorel(3); }},
    {"TabelasKavorelClasseCertificado", [](Programa& p) { return p.kavorel(4); }},
    // The register's dialogs.
    {"TFrmSelecionaCertificado",
     [](Programa& p) { return p.guarda(new TFrmSelecionaCertificado(p.session)); }},
    {"TFrmSelecionaEmpresa", [](Programa& p) { return p.guarda(new TFrmSelecionaEmpresa(p.session)); }},
    {"TFrmSelecionaEmpresaPessoaFisica",
     [](Programa& p) { return p.pessoaFisica(p.guarda(new TFrmSelecionaEmpresa(p.session))); }},
    {"TFrmSelecionaProduto", [](Programa& p) { return p.guarda(new TFrmSelecionaProduto(p.session, true)); }},
    {"TFrmSelEmpCert",
     [](Programa& p) { return p.guarda(new TFrmSelEmpCert(p.session, QStringLiteral("OCC1"), p.numero)); }},
    {"TFrmInclEmpresa", [](Programa& p) { return p.guarda(new TFrmInclEmpresa(p.session)); }},
    {"TFrmRelatorioCertificados",
     [](Programa& p) { return p.guarda(new TFrmRelatorioCertificados(p.session, MostraRelatorio())); }},
    {"TFrmCertificadosAVencer", [](Programa& p) { return p.guarda(new TFrmCertificadosAVencer); }},
    {"ReportPreview",
     [](Programa& p) {
         Report::Layout layout(
             Report::Header{QStringLiteral("Prévia"), {}, QStringLiteral("u"), QDate(2024, 1, 1)},
             QPageLayout::Portrait);
         layout.paragraph(QStringLiteral("Texto"));
         return p.guarda(new ReportPreview(layout.finish(QStringLiteral("Prévia")), p.session.prompts()));
     }},
    {"TFrmInclEmpresaPessoaFisica",
     [](Programa& p) { return p.pessoaFisica(p.guarda(new TFrmInclEmpresa(p.session))); }},
    {"TFrmInclProduto", [](Programa& p) { return p.guarda(new TFrmInclProduto(p.session)); }},
    {"TFrmJustificativa",
     [](Programa& p) { return p.guarda(new TFrmJustificativa(p.session, false, QDate(2015, 11, 10))); }},
    {"TFrmJustificativaComData",
     [](Programa& p) { return p.guarda(new TFrmJustificativa(p.session, true, QDate(2015, 11, 10))); }},
    {"TFrmDetalhesEmpresa",
     [](Programa& p) {
         return p.guarda(
             new TFrmDetalhesEmpresa(p.session, QStringLiteral("BR"), QStringLiteral("11222333000181")));
     }},
    // The status groups of the tabs, for each tab's current item, and the propagation screen.
    {"DadosGeraisComLinhas", [](Programa& p) { return p.comItem(0); }},
    {"EmpresasEnvolvidasComEmpresa", [](Programa& p) { return p.comItem(1); }},
    {"ProdutosPorTipoComLinha", [](Programa& p) { return p.comItem(2); }},
    {"ProdutosPorLoteComLinha", [](Programa& p) { return p.comItem(3); }},
    {"ProdutosPorUnidadeComLinha", [](Programa& p) { return p.comItem(4); }},
    {"ServicosComServico", [](Programa& p) { return p.comItem(5); }},
    {"TFrmAlteraStatusEmpresa", [](Programa& p) { return p.alteraStatusEmpresa(); }},
    // The normative documents of each tab's item, browsing and linking one more; the history.
    {"DocNormDadosGerais", [](Programa& p) { return p.documentos(EscopoDocNorm::DadosGerais, 0); }},
    {"DocNormProdutosPorTipo", [](Programa& p) { return p.documentos(EscopoDocNorm::Tipo, 2); }},
    {"DocNormLote", [](Programa& p) { return p.documentos(EscopoDocNorm::Lote, 3); }},
    {"DocNormUnidade", [](Programa& p) { return p.documentos(EscopoDocNorm::Unidade, 4); }},
    {"DocNormServicos", [](Programa& p) { return p.documentos(EscopoDocNorm::Servicos, 5); }},
    {"DocNormDadosGeraisIncluindo",
     [](Programa& p) { return p.clicando(p.documentos(EscopoDocNorm::DadosGerais, 0), "btnIncDocNorm"); }},
    {"DocNormServicosIncluindo",
     [](Programa& p) { return p.clicando(p.documentos(EscopoDocNorm::Servicos, 5), "btnIncDocNorm"); }},
    {"HistoricoDadosGerais", [](Programa& p) { return p.historico(0); }},
    {"HistoricoEmpresasEnvolvidas", [](Programa& p) { return p.historico(1); }},
    {"HistoricoDocNorm", [](Programa& p) { return p.historicoDoDocumento(); }},
    {"HistoricoDadosGeraisIncluindo",
     [](Programa& p) { return p.clicando(p.historico(0), "btnInEmpCertEd"); }},
    // The versions of the reference tables.
    {"TFrmPrincipalVersoes",
     [](Programa& p) {
         p.comVersao();
         return p.comLinhasNaGrade(p.guarda(new TFrmPrincipalVersoes(p.session)), "DBGridVersao");
     }},
    {"TFrmAtualizaVersaoInternet",
     [](Programa& p) {
         auto* tela = p.guarda(new TFrmAtualizaVersao(p.session));
         EXPECT_EQ(tela->findChild<QComboBox*>(QStringLiteral("CbTipo"))->currentText(), "Internet");
         return tela;
     }},
    {"TFrmAtualizaVersaoArquivoLocal",
     [](Programa& p) {
         auto* tela = p.guarda(new TFrmAtualizaVersao(p.session));
         auto* tipo = tela->findChild<QComboBox*>(QStringLiteral("CbTipo"));
         tipo->setCurrentIndex(tipo->findText(QStringLiteral("Arquivo Local")));
         EXPECT_EQ(tipo->currentText(), "Arquivo Local");
         EXPECT_TRUE(tela->findChild<QAbstractButton*>(QStringLiteral("BtBrowse"))->isVisibleTo(tela));
         return tela;
     }},
    {"TFrmVersaoAnterior",
     [](Programa& p) {
         p.comVersao();
         return p.comLinhasNaGrade(p.guarda(new TFrmVersaoAnterior(p.session)), "DBGridVersaoAnterior");
     }},
    // The batches.
    {"TFrmPrincipalRemessas",
     [](Programa& p) {
         p.comRemessa();
         auto* tela = p.guarda(new TFrmPrincipalRemessas(p.session, p.remessas));
         return p.comLinhasNaGrade(p.comLinhasNaGrade(tela, "GrRemessa"), "GrEventos");
     }},
    {"TFrmNovaRemessa",
     [](Programa& p) {
         return p.guarda(new TFrmNovaRemessa(p.session, p.remessas, QStringLiteral("0000000000")));
     }},
    {"TFrmNovaRemessaComPrevia",
     [](Programa& p) {
         p.remessas.load(p.db, p.session.user());
         auto* tela = p.guarda(new TFrmNovaRemessa(p.session, p.remessas, QStringLiteral("0000000000")));
         Programa::clica(tela, "rbRemessaParcial");
         Programa::clica(tela, "BtPrevia");
         return p.comLinhasNaGrade(tela, "GrPrevia");
     }},
    // The delivery of a batch or a text file.
    {"TFrmSelecaoTransferencia",
     [](Programa& p) {
         return p.guarda(
             new TFrmSelecaoTransferencia(p.session, p.remessas, QStringLiteral("OC-OCC12015112501.zip")));
     }},
    {"TFrmTransfereArquivo",
     [](Programa& p) {
         return p.guarda(
             new TFrmTransfereArquivo(p.session, p.remessas, QStringLiteral("OC-OCC12015112501.zip")));
     }},
    {"TFrmTransfereSMTP",
     [](Programa& p) {
         return p.guarda(
             new TFrmTransfereSMTP(p.session, p.remessas, QStringLiteral("OC-OCC12015112501.zip")));
     }},
    {"TFrmGravaDisquete",
     [](Programa& p) {
         return p.guarda(
             new TFrmGravaDisquete(p.session, p.remessas, QStringLiteral("OC-OCC12015112501.zip")));
     }},
    {"TFrmEnviaTXT_FTP",
     [](Programa& p) {
         Sql::execute(
             p.db,
             QStringLiteral("INSERT INTO CONTROLE_TXT (DataHoraEvento, NomeArquivo, Obs, UsuResp, "
                            "EnviadoKAVOREL) VALUES (:d, 'TX-OCC10000000001.txt', '', 'admin', 'S')"),
             {{":d", QDateTime(QDate(2015, 11, 25), QTime(8, 0))}});
         return p.comLinhasNaGrade(p.guarda(new TFrmEnviaTXT_FTP(p.session, p.remessas)), "GrControleTXT");
     }},
    // The result of a delivered batch.
    {"TFrmSelecaoResultado",
     [](Programa& p) {
         p.remessas.load(p.db, p.session.user());
         return p.guarda(
             new TFrmSelecaoResultado(p.session, p.remessas, QStringLiteral("OC-OCC2015112501.zip")));
     }},
    {"TFrmResultadoAutomatico",
     [](Programa& p) {
         p.remessas.load(p.db, p.session.user());
         p.remessas.NumeroRemessa = QStringLiteral("2015112501");
         return p.guarda(
             new TFrmResultadoAutomatico(p.session, p.remessas, QStringLiteral("OC-OCC2015112501.zip")));
     }},
    {"TFrmResultadoManual",
     [](Programa& p) {
         p.remessas.load(p.db, p.session.user());
         p.remessas.NumeroRemessa = QStringLiteral("2015112501");
         return p.guarda(
             new TFrmResultadoManual(p.session, p.remessas, QStringLiteral("OC-OCC2015112501.zip")));
     }},
    {"TFrmConfResultadoManual",
     [](Programa& p) { return p.guarda(new TFrmConfResultadoManual(QStringLiteral("Remessa Válida"))); }},
};

// Qt's own pieces of a composite control (scroll-area viewports, a grid's headers and scroll bars,
// a tab widget's bar, a drop-down's line edit, a tool bar's extension button) are the composite's
// business; the composite itself is checked.
bool pecaInterna(const QWidget* w) {
    if (w->objectName().startsWith(QLatin1String("qt_")))
        return true;
    for (const QWidget* pai = w->parentWidget(); pai && !pai->isWindow(); pai = pai->parentWidget())
        if (qobject_cast<const QAbstractItemView*>(pai) || qobject_cast<const QComboBox*>(pai))
            return true;
    return false;
}

// A name the control has of its own: given outright, its own text, or the caption of a label whose
// buddy it is (rather than the title of the group it sits in).
bool temNomeProprio(QWidget* janela, const QWidget* w) {
    if (!w->accessibleName().isEmpty())
        return true;
    if (auto* botao = qobject_cast<const QAbstractButton*>(w); botao && !botao->text().isEmpty())
        return true;
    const auto rotulos = janela->findChildren<QLabel*>();
    return std::any_of(rotulos.cbegin(), rotulos.cend(),
                       [w](const QLabel* l) { return l->buddy() == w && !l->text().isEmpty(); });
}

QString descreve(const QWidget* w) {
    QString nome = w->objectName();
    if (nome.isEmpty()) {
        for (const QWidget* pai = w->parentWidget(); pai && nome.isEmpty(); pai = pai->parentWidget())
            if (!pai->objectName().isEmpty())
                nome = QStringLiteral("(dentro de %1)").arg(pai->objectName());
    }
    return QStringLiteral("%1 %2").arg(QString::fromLatin1(w->metaObject()->className()), nome);
}

// Lets the layouts settle after a show or a resize.
void assenta(QWidget* janela) {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCoreApplication::processEvents();
    }
    if (janela->layout())
        janela->layout()->activate();
}

void confereTamanhos(QWidget* janela, const char* quando) {
    for (QWidget* w : janela->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(janela) || pecaInterna(w) || w->isWindow())
            continue;
        const QSize minimo = w->minimumSizeHint();
        if (minimo.isValid()) {
            EXPECT_TRUE(w->width() >= minimo.width() && w->height() >= minimo.height())
                << quando << ": " << descreve(w).toStdString() << " is " << w->width() << "x" << w->height()
                << ", its minimum size hint " << minimo.width() << "x" << minimo.height();
        }
        if (auto* grade = qobject_cast<QTableView*>(w)) {
            const int linha = grade->verticalHeader()->defaultSectionSize();
            EXPECT_GE(linha, grade->fontMetrics().height()) << descreve(w).toStdString();
            const int linhas = linha > 0 ? grade->viewport()->height() / linha : 0;
            EXPECT_GE(linhas, 8) << quando << ": " << descreve(w).toStdString() << " shows " << linhas
                                 << " rows";
        }
        // Every tab's caption in sight, none behind scroll arrows.
        if (auto* abas = qobject_cast<QTabBar*>(w)) {
            for (int i = 0; i < abas->count(); ++i)
                EXPECT_TRUE(abas->rect().contains(abas->tabRect(i)))
                    << quando << ": the tab \"" << abas->tabText(i).toStdString() << "\" is cut off";
        }
    }
}

std::string texto(const QRect& r) {
    return QStringLiteral("%1x%2+%3+%4").arg(r.width()).arg(r.height()).arg(r.x()).arg(r.y()).toStdString();
}

// Widgets whose placement is the business of the one holding them: the contents of a scroll area
// (scrolled inside its viewport) and the pages of a stacked widget or tab widget (one shown at a time).
bool colocadoPorOutro(const QWidget* w) {
    const QWidget* pai = w->parentWidget();
    return pai && (pai->objectName() == QLatin1String("qt_scrollarea_viewport") ||
                   qobject_cast<const QStackedWidget*>(pai));
}

// The widgets a layout check looks at: in sight, not Qt's own pieces of a composite, not windows, not
// a dialog's size grip (it floats over the corner by design).
QList<QWidget*> emVista(QWidget* janela) {
    QList<QWidget*> vistos;
    for (QWidget* w : janela->findChildren<QWidget*>())
        if (w->isVisibleTo(janela) && !pecaInterna(w) && !w->isWindow() && !qobject_cast<QSizeGrip*>(w))
            vistos.append(w);
    return vistos;
}

QString semMnemonicos(QString texto) {
    texto.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    texto.remove(QLatin1Char('&'));
    texto.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return texto;
}

// The widest line of a plain text in the widget's font.
int larguraDoTexto(const QWidget* w, const QString& texto) {
    int largura = 0;
    for (const QString& linha : texto.split(QLatin1Char('\n')))
        largura = std::max(largura, w->fontMetrics().horizontalAdvance(linha));
    return largura;
}

// The width a button gives its caption (and icon): the style's contents rectangle.
int larguraParaTexto(QAbstractButton* botao, int* precisa) {
    const QString texto = semMnemonicos(botao->text());
    const int icone = botao->icon().isNull() ? 0 : botao->iconSize().width() + 4;
    *precisa = larguraDoTexto(botao, texto) + icone;
    if (auto* b = qobject_cast<QPushButton*>(botao)) {
        QStyleOptionButton opcao;
        opcao.initFrom(b);
        opcao.features = b->isDefault() ? QStyleOptionButton::DefaultButton : QStyleOptionButton::None;
        opcao.text = b->text();
        opcao.icon = b->icon();
        opcao.iconSize = b->iconSize();
        return b->style()->subElementRect(QStyle::SE_PushButtonContents, &opcao, b).width();
    }
    if (qobject_cast<QCheckBox*>(botao) || qobject_cast<QRadioButton*>(botao)) {
        QStyleOptionButton opcao;
        opcao.initFrom(botao);
        opcao.text = botao->text();
        const bool marca = qobject_cast<QCheckBox*>(botao) != nullptr;
        return botao->style()
            ->subElementRect(marca ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents, &opcao,
                             botao)
            .width();
    }
    if (auto* t = qobject_cast<QToolButton*>(botao); t && t->toolButtonStyle() == Qt::ToolButtonIconOnly)
        *precisa = 0; // its caption is a hint, not drawn
    return botao->width();
}

// Every column title of the grid whole, and every text of the rows in sight.
void confereColunas(QTableView* grade, const char* quando) {
    const QHeaderView* cabecalho = grade->horizontalHeader();
    const QAbstractItemModel* modelo = grade->model();
    if (!modelo)
        return;
    const int margemTitulo = 2 * grade->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, cabecalho);
    const int margemCelula =
        2 * (grade->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grade) + 1);
    const int primeira = grade->rowAt(0);
    int ultima = grade->rowAt(grade->viewport()->height() - 1);
    if (ultima < 0)
        ultima = modelo->rowCount() - 1;
    for (int c = 0; c < modelo->columnCount(); ++c) {
        if (grade->isColumnHidden(c))
            continue;
        const QString titulo = modelo->headerData(c, Qt::Horizontal).toString();
        const int largura = grade->columnWidth(c);
        if (!cabecalho->isHidden()) {
            const int sinal = cabecalho->isSortIndicatorShown()
                                  ? grade->style()->pixelMetric(QStyle::PM_HeaderMarkSize, nullptr, cabecalho)
                                  : 0;
            EXPECT_LE(cabecalho->fontMetrics().horizontalAdvance(titulo) + margemTitulo + sinal, largura)
                << quando << ": the title \"" << titulo.toStdString() << "\" of "
                << descreve(grade).toStdString() << " is cut";
        }
        for (int r = primeira; r >= 0 && r <= ultima; ++r) {
            const QModelIndex i = modelo->index(r, c);
            if (!i.data(Qt::DecorationRole).isNull() || !i.data(Qt::CheckStateRole).isNull())
                continue;
            const QString texto = i.data(Qt::DisplayRole).toString();
            QFont fonte = grade->font();
            if (const QVariant f = i.data(Qt::FontRole); f.isValid())
                fonte = f.value<QFont>();
            EXPECT_LE(QFontMetrics(fonte).horizontalAdvance(texto) + margemCelula, largura)
                << quando << ": \"" << texto.toStdString() << "\" in the column \"" << titulo.toStdString()
                << "\" of " << descreve(grade).toStdString() << " is cut";
        }
    }
}

void confereArranjo(QWidget* janela, const char* quando) {
    const QList<QWidget*> vistos = emVista(janela);
    for (QWidget* w : vistos) {
        const QString nome = descreve(w);
        QWidget* pai = w->parentWidget();
        if (pai && !colocadoPorOutro(w)) {
            // Inside its parent.
            EXPECT_TRUE(pai->rect().contains(w->geometry()))
                << quando << ": " << nome.toStdString() << " " << texto(w->geometry()) << " reaches outside "
                << descreve(pai).toStdString() << " (" << pai->width() << "x" << pai->height() << ")";
            // Over no sibling in sight.
            for (QWidget* irmao : vistos) {
                if (irmao == w || irmao->parentWidget() != pai || irmao < w)
                    continue;
                EXPECT_FALSE(w->geometry().intersects(irmao->geometry()))
                    << quando << ": " << nome.toStdString() << " " << texto(w->geometry()) << " overlaps "
                    << descreve(irmao).toStdString() << " " << texto(irmao->geometry());
            }
        }
        // Captions whole.
        auto* rotulo = qobject_cast<QLabel*>(w);
        const bool textoSimples =
            rotulo && !rotulo->wordWrap() && rotulo->pixmap().isNull() &&
            (rotulo->textFormat() == Qt::PlainText || !Qt::mightBeRichText(rotulo->text()));
        if (textoSimples) {
            const int cabe =
                rotulo->contentsRect().width() - 2 * rotulo->margin() - std::max(0, rotulo->indent());
            const int precisa = larguraDoTexto(rotulo, semMnemonicos(rotulo->text()));
            EXPECT_LE(precisa, cabe) << quando << ": the caption \"" << rotulo->text().toStdString()
                                     << "\" of " << nome.toStdString() << " is cut";
        }
        if (auto* botao = qobject_cast<QAbstractButton*>(w)) {
            int precisa = 0;
            const int cabe = larguraParaTexto(botao, &precisa);
            EXPECT_LE(precisa, cabe) << quando << ": the caption \"" << botao->text().toStdString()
                                     << "\" of " << nome.toStdString() << " is cut";
        }
        if (auto* grade = qobject_cast<QTableView*>(w))
            confereColunas(grade, quando);
    }
}

// The name a screen reader announces for every control in sight; a control named only after the group
// it shares with others has no name of its own.
void confereNomes(QWidget* janela) {
    for (QWidget* w : janela->findChildren<QWidget*>()) {
        if (w->focusPolicy() == Qt::NoFocus || !w->isVisibleTo(janela) || pecaInterna(w) || w->isWindow())
            continue;
        QAccessibleInterface* acessivel = QAccessible::queryAccessibleInterface(w);
        ASSERT_NE(acessivel, nullptr) << descreve(w).toStdString();
        const QString nome = acessivel->text(QAccessible::Name).trimmed();
        EXPECT_FALSE(nome.isEmpty()) << descreve(w).toStdString() << " has no accessible name";
        auto* grupo = qobject_cast<QGroupBox*>(w->parentWidget());
        if (grupo && !temNomeProprio(janela, w) && nome == grupo->title().trimmed()) {
            int focaveis = 0;
            for (QWidget* irmao : grupo->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                focaveis += irmao->focusPolicy() != Qt::NoFocus && irmao->isVisibleTo(janela) ? 1 : 0;
            EXPECT_EQ(focaveis, 1) << descreve(w).toStdString() << " is named only after its group \""
                                   << nome.toStdString() << "\"";
        }
    }
}

// The caption a control is named after: its own accessible name, or the label whose buddy it is.
QString legenda(QWidget* janela, const QWidget* w) {
    if (!w->accessibleName().isEmpty())
        return w->accessibleName();
    for (const QLabel* l : janela->findChildren<QLabel*>())
        if (l->buddy() == w)
            return semMnemonicos(l->text()).trimmed();
    return {};
}

// A drop-down is announced by its caption whatever value it shows (the value is announced as its
// value), and a field that takes no typing says so.
void confereNomesDosValores(QWidget* janela) {
    for (QComboBox* lista : janela->findChildren<QComboBox*>()) {
        if (!lista->isVisibleTo(janela) || pecaInterna(lista) || lista->focusPolicy() == Qt::NoFocus)
            continue;
        const QString esperado = legenda(janela, lista);
        QAccessibleInterface* acessivel = QAccessible::queryAccessibleInterface(lista);
        ASSERT_NE(acessivel, nullptr);
        EXPECT_EQ(acessivel->text(QAccessible::Name), esperado) << descreve(lista).toStdString();
        for (int i = 0; i < std::min(lista->count(), 2); ++i) {
            const QSignalBlocker quieto(lista); // only the value shown changes, nothing runs
            const int antes = lista->currentIndex();
            lista->setCurrentIndex(i);
            EXPECT_EQ(acessivel->text(QAccessible::Name), esperado)
                << descreve(lista).toStdString() << " showing \"" << lista->currentText().toStdString()
                << "\"";
            EXPECT_EQ(acessivel->text(QAccessible::Value), lista->currentText())
                << descreve(lista).toStdString();
            lista->setCurrentIndex(antes);
        }
    }
    for (QLineEdit* campo : janela->findChildren<QLineEdit*>()) {
        if (!campo->isVisibleTo(janela) || pecaInterna(campo) || !campo->isReadOnly())
            continue;
        QAccessibleInterface* acessivel = QAccessible::queryAccessibleInterface(campo);
        ASSERT_NE(acessivel, nullptr);
        EXPECT_TRUE(acessivel->state().readOnly)
            << descreve(campo).toStdString() << " does not report read-only";
    }
}

void confereMascaras(QWidget* janela) {
    for (QLineEdit* edit : janela->findChildren<QLineEdit*>()) {
        if (edit->inputMask().isEmpty() || !edit->isVisibleTo(janela) || !edit->isEnabled() ||
            edit->isReadOnly())
            continue;
        const QString digitado = edit->text();
        if (std::any_of(digitado.cbegin(), digitado.cend(), [](QChar c) { return c.isLetterOrNumber(); }))
            continue;
        QTest::mouseClick(edit, Qt::LeftButton, {}, QPoint(edit->width() - 4, edit->height() / 2));
        EXPECT_EQ(edit->cursorPosition(), 0) << descreve(edit).toStdString();
    }
}

class WindowsTest : public ::testing::TestWithParam<Tela> {};

TEST_P(WindowsTest, SizesNamesAndMasks) {
    Programa programa;
    QWidget* janela = GetParam().abre(programa);
    ASSERT_NE(janela, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(janela));
    assenta(janela);

    EXPECT_LT(janela->minimumWidth(), janela->maximumWidth()) << "the width is fixed";
    EXPECT_LT(janela->minimumHeight(), janela->maximumHeight()) << "the height is fixed";
    confereTamanhos(janela, "as opened");
    confereArranjo(janela, "as opened");
    confereNomes(janela);
    confereNomesDosValores(janela);
    confereMascaras(janela);

    // As small as the window lets itself be made.
    janela->resize(1, 1);
    assenta(janela);
    confereTamanhos(janela, "at the smallest size");
    confereArranjo(janela, "at the smallest size");

    // And larger again: the layouts follow.
    const QSize maior = janela->size() + QSize(200, 150);
    janela->resize(maior);
    assenta(janela);
    EXPECT_EQ(janela->size(), maior);
}

INSTANTIATE_TEST_SUITE_P(Telas, WindowsTest, ::testing::ValuesIn(telas),
                         [](const ::testing::TestParamInfo<Tela>& info) {
                             return std::string(info.param.nome);
                         });

} // namespace
