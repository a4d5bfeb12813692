#include "TfrmImporta.h"
#include "../ImportFixture.h"
#include "InstalaImportacao.h"
#include "Modal.h"
#include "Screenshot.h"
#include "Session.h"
#include "TDMCapaSistema.h"
#include "TDMCertif.h"
#include "TFormPrincipal.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>

namespace {

const QString AvisoMemoria = QStringLiteral("IMPORTANTE: Se o tamanho do arquivo a ser importado exceder a "
                                            "capacidade de memória RAM deste equipamento a "
                                            "rotina poderá ser interrompida antes do término.");

QStringList itens(QListWidget* lista) {
    QStringList t;
    for (int i = 0; i < lista->count(); ++i)
        t << lista->item(i)->text();
    return t;
}

// The screen over the fixture's database, opened at a start directory with a subdirectory "lote"
// holding the files to import.
class TfrmImportaTest : public ImportFixture {
protected:
    std::unique_ptr<TfrmImporta> tela;
    QString inicio;
    QString lote;

    void SetUp() override {
        ImportFixture::SetUp();
        inicio = QDir(dir()).filePath("inicio");
        lote = QDir(inicio).filePath("lote");
        ASSERT_TRUE(QDir().mkpath(lote));
    }
    void abre() {
        tela = std::make_unique<TfrmImporta>(parametros(), inicio);
        tela->show();
    }
    void escreveNoLote(const QString& nome, const QStringList& linhas) {
        QFile f(QDir(lote).filePath(nome));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Cp1252::encodeLossy(linhas.join("\r\n") + "\r\n"));
    }
    template <typename T = QWidget> T* w(const char* name) {
        T* found = tela->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void entraNoLote() {
        auto* dirs = w<QListWidget>("DirectoryListBox1");
        const auto achados = dirs->findItems("lote", Qt::MatchExactly);
        ASSERT_EQ(achados.size(), 1);
        emit dirs->itemActivated(achados.first());
    }
};

} // namespace

TEST_F(TfrmImportaTest, ControlsCaptionsAndAccessibleNames) {
    abre();
    EXPECT_EQ(tela->windowTitle(), "Importador de arquivo txt");
    EXPECT_EQ(w<QPushButton>("BitBtn2")->text(), "Importar para o Banco de dados");
    EXPECT_EQ(w<QPushButton>("BtnCancel")->text(), "&Novo Processamento");
    EXPECT_EQ(w<QPushButton>("BitBtn1")->text(), "&Sair");
    EXPECT_EQ(w<QPushButton>("SpeedButton1")->text(), "Erros de Importação");
    for (const char* name : {"PbImportaTXT", "PbAtualizaBD", "PbCertcOMPLETO"})
        EXPECT_EQ(w<QProgressBar>(name)->value(), 0) << name;
    for (const char* name : {"CkAtualiza", "ckCertCompleto"})
        EXPECT_FALSE(w<QCheckBox>(name)->isVisible()) << name;
    // Lists show at least eight rows; nothing fixes the window's size.
    for (const char* name : {"DirectoryListBox1", "FileListBox1", "LBoxImportadas", "LBoxAvisos"}) {
        auto* l = w<QListWidget>(name);
        EXPECT_GE(l->height(), 8 * l->fontMetrics().lineSpacing()) << name;
    }
    EXPECT_NE(tela->minimumSize(), tela->maximumSize());
    // Every control that takes the focus has a name for assistive technology.
    for (QWidget* c : tela->findChildren<QWidget*>()) {
        if (c->focusPolicy() == Qt::NoFocus || !c->isVisibleTo(tela.get()) || c->inherits("QScrollBar"))
            continue;
        const auto* button = qobject_cast<QAbstractButton*>(c);
        EXPECT_TRUE(!c->accessibleName().isEmpty() || !c->toolTip().isEmpty() ||
                    (button && !button->text().isEmpty()))
            << c->objectName().toStdString() << " " << c->metaObject()->className();
    }
    EXPECT_EQ(w<QLabel>("lblDiretorio")->text(), QDir::toNativeSeparators(inicio));
}

TEST_F(TfrmImportaTest, ChoosingADirectoryListsItsTxFilesAndLeavesTheCurrentDirectoryAlone) {
    escreveNoLote(Nome2, {});
    escreveNoLote(Nome1, {});
    escreveNoLote("outro.txt", {});
    const QString corrente = QDir::currentPath();
    abre();
    EXPECT_TRUE(itens(w<QListWidget>("FileListBox1")).isEmpty());
    EXPECT_FALSE(w<QPushButton>("BitBtn2")->isEnabled());
    EXPECT_TRUE(prompts.texts().isEmpty());

    entraNoLote();
    EXPECT_EQ(tela->diretorio(), QDir(lote).absolutePath());
    EXPECT_EQ(itens(w<QListWidget>("FileListBox1")), (QStringList{Nome1, Nome2}));
    EXPECT_TRUE(w<QPushButton>("BitBtn2")->isEnabled());
    EXPECT_EQ(prompts.texts(), QStringList{AvisoMemoria});
    EXPECT_EQ(QDir::currentPath(), corrente);
    screenshot(tela.get(), "importacao-arquivos.png");

    auto* dirs = w<QListWidget>("DirectoryListBox1");
    emit dirs->itemActivated(dirs->item(0)); // ".."
    EXPECT_EQ(tela->diretorio(), QDir(inicio).absolutePath());
    EXPECT_FALSE(w<QPushButton>("BitBtn2")->isEnabled());
}

TEST_F(TfrmImportaTest, ARunImportsEachFileReportsTheFailedOnesAndResetsTheScreen) {
    escreveNoLote(Nome1, Txt::produto());
    escreveNoLote(Nome2, Txt::produto("Outra", "Modelo", "2"));
    abre();
    entraNoLote();
    prompts.clear();
    QStringList estruturas;
    ASSERT_TRUE(clickOn(tela.get(), "BitBtn2"));

    EXPECT_EQ(prompts.texts(),
              (QStringList{
                  "Importação dos dados do arquivo " + Nome1 + " concluída com sucesso",
                  "Ocorreu erro na importação dos dados do arquivo " + Nome2,
                  "Ocorreram erros no processamento do(s) arquivo(s) TXT clique no botão ERROS DE IMPORTAÇÃO "
                  "para procedimentos de correção"}));
    EXPECT_EQ(linhasSql("SELECT MarcaProd FROM PRODUTO"), QStringList{"Marca"});
    EXPECT_TRUE(QFile::exists(QDir(lote).filePath("ERROTX-OCC12015112502.txt")));
    EXPECT_FALSE(QFile::exists(QDir(lote).filePath("Log.txt")));

    // Reset: back to the start directory, empty list, bars at zero, marks hidden.
    EXPECT_EQ(tela->diretorio(), QDir(inicio).absolutePath());
    EXPECT_TRUE(itens(w<QListWidget>("LBoxImportadas")).isEmpty());
    EXPECT_EQ(w<QProgressBar>("PbImportaTXT")->value(), 0);
    EXPECT_FALSE(w<QCheckBox>("CkAtualiza")->isVisible());
    for (const char* name : {"BtnCancel", "BitBtn1", "SpeedButton1", "DirectoryListBox1", "DriveComboBox1"})
        EXPECT_TRUE(w(name)->isEnabled()) << name;

    prompts.clear();
    ASSERT_TRUE(clickOn(tela.get(), "SpeedButton1"));
    EXPECT_EQ(
        prompts.texts(),
        QStringList{"Ocorreram erros na IMPORTAÇÃO do(s) arquivo(s) TXT(s) e a rotina gerou o(s) arquivo(s) "
                    "ERROTX-OCC12015112502.txt, no mesmo diretório do(s) arquivos TXT processados."});
}

TEST_F(TfrmImportaTest, TheRecordsOfTheBatchAreListedWithTheirOutcome) {
    escreveNoLote(Nome1, Txt::produto() + Txt::produto("Outra", "Modelo", "2"));
    abre();
    entraNoLote();
    QStringList vistos;
    auto* lista = w<QListWidget>("LBoxImportadas");
    QObject::connect(lista->model(), &QAbstractItemModel::rowsInserted, [&] {
        vistos = itens(lista);
        screenshot(tela.get(), "importacao-em-andamento.png");
    });
    ASSERT_TRUE(clickOn(tela.get(), "BitBtn2"));
    EXPECT_EQ(vistos, (QStringList{"TProdutoStruct-OK", "TProdutoStruct-NO"}));
}

TEST_F(TfrmImportaTest, EachListedRecordShowsItsFieldsAsRead) {
    escreveNoLote(Nome1, Txt::produto());
    abre();
    entraNoLote();
    QString dica;
    auto* lista = w<QListWidget>("LBoxImportadas");
    QObject::connect(lista->model(), &QAbstractItemModel::dataChanged, [&] {
        if (lista->count() > 0)
            dica = lista->item(0)->toolTip();
    });
    ASSERT_TRUE(clickOn(tela.get(), "BitBtn2"));
    EXPECT_TRUE(dica.contains("MarcaProd=Marca\nModeloProd=Modelo X\n")) << dica.toStdString();
    EXPECT_TRUE(dica.contains("UsuResp=maria")) << dica.toStdString();
}

// The register's menu entry and speed button open the screen once the certifier is configured.
TEST(ImportacaoNoRegistro, MenuEntryAndSpeedButtonOpenTheScreen) {
    TestHome home;
    ManualClock clock{QDateTime(QDate(2015, 11, 25), QTime(14, 3, 59))};
    ScriptedPrompts prompts;
    Session session{Database::ConnectionName, clock, prompts};
    session.setUser(LoggedUser{QStringLiteral("maria"), QStringLiteral("OCC1"), Permissions::all()});
    const QSqlDatabase db = home.openDatabase();
    TDMCapaSistema capaSistema{session};
    TDMCertif certif{session};
    TFormPrincipal form(certif);
    instalaImportacao(form, capaSistema);
    form.show();
    auto* acao = form.findChild<QAction*>(QStringLiteral("ImportaTXT1"));
    auto* botao = form.findChild<QToolButton*>(QStringLiteral("sbImportacao"));
    ASSERT_TRUE(acao && botao);
    EXPECT_TRUE(acao->isEnabled());
    EXPECT_TRUE(botao->isEnabled());

    // Without a configured acronym nothing opens.
    acao->trigger();
    EXPECT_EQ(prompts.texts(), QStringList{"Dados da Configuração de diretórios incompleta. Verifique"});

    ASSERT_SQL(
        db, QStringLiteral("INSERT INTO CONFIG_LOCAL (SiglaCertificador, NomeOCC) VALUES ('OCC1', 'Org')"));
    for (QWidget* disparo : {static_cast<QWidget*>(nullptr), static_cast<QWidget*>(botao)}) {
        QString titulo;
        onNextModal([&](QWidget* modal) {
            if (!modal)
                return;
            titulo = modal->windowTitle();
            modal->close();
        });
        if (disparo)
            QTest::mouseClick(botao, Qt::LeftButton);
        else
            acao->trigger();
        EXPECT_EQ(titulo, "Importador de arquivo txt");
    }
}
