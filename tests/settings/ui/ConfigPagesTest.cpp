#include "ConfigPages.h"
#include "SettingsFixture.h"
#include "VerificaConfiguracao.h"

#include <QCoreApplication>
#include <QDir>
#include <QSignalSpy>

namespace {
const QString Pergunta = QStringLiteral("A sigla do Certificador só deve ser alterada sob orientação do "
                                        "Kavorel. Você tem certeza de quer prosseguir?");
}

class ConfigCertificadorTest : public SettingsFixture {
protected:
    ConfigCertificadorTest() : page(session, dm), done(&page, &ConfigCertificadorPage::finished) {
        page.show();
    }
    ConfigCertificadorPage page;
    QSignalSpy done;
};

TEST_F(ConfigCertificadorTest, PrimeiraConfiguracaoPerguntaECriaALinhaEmMaiusculas) {
    page.open();
    type(&page, "DbeSiglaCert", "abc");
    EXPECT_EQ(child<QLineEdit>(&page, "DbeSiglaCert")->text(), "ABC");
    type(&page, "DBEdit2", "Organismo ABC");
    prompts.planAnswer(PromptAnswer::Yes);
    click(&page, "btnOK");
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].kind, PromptKind::YesNo);
    EXPECT_EQ(prompts.shown()[0].caption, "Edição do Certificador");
    EXPECT_EQ(prompts.shown()[0].text, Pergunta);
    const auto row = ConfigLocalTable::load(db());
    ASSERT_TRUE(row);
    EXPECT_EQ(row->SiglaCertificador, "ABC");
    EXPECT_EQ(row->NomeOCC, "Organismo ABC");
    EXPECT_EQ(dm.siglaCertificador(), "ABC");
    EXPECT_EQ(done.count(), 1);
    // The administrator takes the installation's acronym.
    EXPECT_EQ(UsuLocalTable::find(db(), "admin")->SiglaCertificador, "ABC");
}

TEST_F(ConfigCertificadorTest, NaoNaPerguntaNaoGravaNada) {
    configure("ABC");
    page.open();
    type(&page, "DbeSiglaCert", "XYZ");
    prompts.planAnswer(PromptAnswer::No);
    click(&page, "btnOK");
    EXPECT_EQ(ConfigLocalTable::load(db())->SiglaCertificador, "ABC");
    EXPECT_EQ(done.count(), 0);
    EXPECT_EQ(child<QLineEdit>(&page, "DbeSiglaCert")->text(), "XYZ");
}

TEST_F(ConfigCertificadorTest, SoONomeMudadoGravaSemPerguntar) {
    configure("ABC");
    page.open();
    type(&page, "DBEdit2", "Novo Nome");
    click(&page, "btnOK");
    EXPECT_TRUE(prompts.shown().isEmpty());
    EXPECT_EQ(ConfigLocalTable::load(db())->NomeOCC, "Novo Nome");
    EXPECT_EQ(done.count(), 1);
}

TEST_F(ConfigCertificadorTest, SiglaEmBrancoERecusada) {
    page.open();
    type(&page, "DbeSiglaCert", "   ");
    click(&page, "btnOK");
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].text, "A sigla do Certificador não pode estar em branco.");
    EXPECT_EQ(prompts.shown()[0].caption, "Erro de Edição");
    EXPECT_FALSE(ConfigLocalTable::load(db()));
}

TEST_F(ConfigCertificadorTest, CancelaDescartaAsEdicoes) {
    configure("ABC");
    page.open();
    type(&page, "DbeSiglaCert", "XYZ");
    click(&page, "btnCancel");
    EXPECT_EQ(ConfigLocalTable::load(db())->SiglaCertificador, "ABC");
    EXPECT_EQ(dm.siglaCertificador(), "ABC");
    EXPECT_EQ(done.count(), 1);
}

class ConfiguraDiretoriosTest : public SettingsFixture {
protected:
    ConfiguraDiretoriosTest() : page(session, dm), done(&page, &ConfiguraDiretoriosPage::finished) {
        page.show();
        for (const char* d : {"sinc", "transf", "aux"})
            QDir(home.path()).mkpath(d);
    }
    QString dir(const char* name) { return home.path() + name; }
    void chooseAll(const QString& a, const QString& b, const QString& c) {
        const char* buttons[] = {"bbtBrowse2", "bbtBrowse3", "bbtBrowse4"};
        const QString choices[] = {a, b, c};
        for (int i = 0; i < 3; ++i) {
            prompts.planChoice(choices[i]);
            click(&page, buttons[i]);
        }
    }
    ConfiguraDiretoriosPage page;
    QSignalSpy done;
};

TEST_F(ConfiguraDiretoriosTest, SemCertificadorNadaPodeSerGravado) {
    page.open();
    ASSERT_EQ(prompts.shown().size(), 1);
    EXPECT_EQ(prompts.shown()[0].text, "As configuraçãoes do Certificador não foram cadastradas.");
    EXPECT_EQ(prompts.shown()[0].caption, "Erro de Edição");
    EXPECT_FALSE(child(&page, "BitBtn10")->isEnabled());
    EXPECT_FALSE(child(&page, "bbtBrowse2")->isEnabled());
    EXPECT_TRUE(child<QLineEdit>(&page, "dbeEnvioRemessas")->isReadOnly());
}

TEST_F(ConfiguraDiretoriosTest, GravaDiretoriosEEnderecos) {
    configure("ABC");
    page.open();
    EXPECT_TRUE(prompts.shown().isEmpty());
    EXPECT_EQ(child<QLineEdit>(&page, "dbeSenhaFTP")->echoMode(), QLineEdit::Password);
    chooseAll(dir("sinc"), dir("transf"), dir("aux"));
    type(&page, "dbeEnvioRemessas", "ftp.kavorel.test/envio");
    type(&page, "dbeLoginFTP", "occ");
    type(&page, "dbeSenhaFTP", "p@ss");
    type(&page, "DBEdit1", "smtp.local");
    type(&page, "DBEdit3", "25");
    click(&page, "BitBtn10");
    EXPECT_TRUE(prompts.texts().filter("Diret").isEmpty()) << prompts.lastText().toStdString();
    const auto row = ConfigLocalTable::load(db());
    ASSERT_TRUE(row);
    EXPECT_EQ(row->SiglaCertificador, "ABC");
    EXPECT_EQ(row->DirLocalSincr, dir("sinc"));
    EXPECT_EQ(row->DirLocalTransf, dir("transf"));
    EXPECT_EQ(row->DirLocalRecepAux, dir("aux"));
    EXPECT_EQ(row->EndKavorelEnvio, "ftp.kavorel.test/envio");
    EXPECT_EQ(row->SenhaFTP, "p@ss");
    EXPECT_EQ(row->EndSMTPPort, "25");
    EXPECT_EQ(done.count(), 1);
}

TEST_F(ConfiguraDiretoriosTest, CancelarOEscolhedorMantemODiretorio) {
    configure("ABC");
    page.open();
    chooseAll(dir("sinc"), dir("transf"), dir("aux"));
    prompts.planChoice(QString());
    click(&page, "bbtBrowse2");
    EXPECT_EQ(child<QLineEdit>(&page, "dbeSinc")->text(), dir("sinc"));
    EXPECT_EQ(prompts.shown().last().caption, "Selecionar Diretório");
}

TEST_F(ConfiguraDiretoriosTest, DiretoriosPerigososSaoRecusados) {
    configure("ABC");
    const QString longo = "/" + QString(100, 'x');
    struct Case {
        QString sinc, transf, aux, fragment;
    };
    const Case cases[] = {
        {"", dir("transf"), dir("aux"), "em branco"},
        {"/", dir("transf"), dir("aux"), "raiz"},
        {dir("sinc"), dir("sinc") + "/", dir("aux"), "mesmo diretório"},
        {dir("sinc"), dir("transf"), longo, "100 caracteres"},
        // Directories where work files would sit beside (and once were deleted with) the register
        // or the program.
        {dir("sinc"), home.path(), dir("aux"), "banco de dados"},
        {home.path() + "sinc/..", dir("transf"), dir("aux"), "banco de dados"},
        {dir("sinc"), dir("transf"), QCoreApplication::applicationDirPath(), "diretório do programa"},
    };
    for (const Case& c : cases) {
        page.open();
        prompts.clear();
        // The chooser cannot give an empty path: an empty answer keeps what the field holds.
        child<QLineEdit>(&page, "dbeSinc")->setText(c.sinc);
        child<QLineEdit>(&page, "dbeTransf")->setText(c.transf);
        child<QLineEdit>(&page, "dbeTabAux")->setText(c.aux);
        click(&page, "BitBtn10");
        ASSERT_EQ(prompts.shown().size(), 1) << c.fragment.toStdString();
        EXPECT_TRUE(prompts.lastText().contains(c.fragment)) << prompts.lastText().toStdString();
        EXPECT_TRUE(ConfigLocalTable::load(db())->DirLocalSincr.isEmpty());
    }
    EXPECT_EQ(done.count(), 0);
}

TEST_F(SettingsFixture, VerificaConfiguracaoCriaOTrabalhoEAvisaSemSigla) {
    EXPECT_FALSE(VerificaConfiguracao(dm, prompts));
    EXPECT_TRUE(QDir(home.path() + "Trabalho").exists());
    EXPECT_EQ(prompts.texts(), QStringList{"Dados da Configuração de diretórios incompleta. Verifique"});
    EXPECT_EQ(prompts.shown()[0].kind, PromptKind::Information);
    prompts.clear();
    configure("ABC");
    EXPECT_TRUE(VerificaConfiguracao(dm, prompts));
    EXPECT_TRUE(prompts.shown().isEmpty());
}
