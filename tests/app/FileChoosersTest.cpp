// The program's file and directory choosers as a user meets them: in Portuguese, opening in the
// user's documents directory and then where the user chose last.

#include "Modal.h"
#include "PrintQString.h"
#include "QtPrompts.h"
#include "QtTranslations.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// HOME pointed at a fresh directory holding "Documents", for the length of a test.
struct OutraCasa {
    QTemporaryDir casa;
    QByteArray antes = qgetenv("HOME");
    QByteArray xdg = qgetenv("XDG_CONFIG_HOME");
    OutraCasa() {
        QDir(casa.path()).mkpath(QStringLiteral("Documents"));
        qputenv("HOME", casa.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", casa.filePath(QStringLiteral(".config")).toLocal8Bit());
    }
    ~OutraCasa() {
        qputenv("HOME", antes);
        if (xdg.isEmpty())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", xdg);
    }
    QString documentos() const { return casa.filePath(QStringLiteral("Documents")); }
};

struct Visto {
    QString diretorio;
    QString nome;
    QStringList botoes;
};

// Reads the chooser that comes up, then answers it with `escolha` (empty: cancels it).
void respondeAoSeletor(Visto& visto, const QString& escolha) {
    onNextModal([&visto, escolha](QWidget* modal) {
        auto* dialogo = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialogo, nullptr) << "no file chooser came up";
        visto.diretorio = dialogo->directory().absolutePath();
        const QStringList escolhidos = dialogo->selectedFiles();
        visto.nome = escolhidos.isEmpty() ? QString() : QFileInfo(escolhidos.first()).fileName();
        for (QDialogButtonBox* caixa : dialogo->findChildren<QDialogButtonBox*>())
            for (QAbstractButton* b : caixa->buttons())
                visto.botoes << b->text().remove(QLatin1Char('&'));
        if (escolha.isEmpty()) {
            dialogo->reject();
        } else {
            // Typed into the name field as a user types a whole path (selectFile() leaves a field
            // that has the focus alone).
            auto* nome = dialogo->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(nome, nullptr);
            nome->setText(escolha);
            static_cast<QDialog*>(dialogo)->accept();
        }
    });
}

TEST(FileChoosersTest, SpeakPortugueseAndOpenInTheDocumentsThenWhereTheUserChoseLast) {
    OutraCasa casa;
    ASSERT_TRUE(installQtTranslations(*QCoreApplication::instance()))
        << "Qt's Portuguese translations are missing (qt6-translations-l10n)";
    QtPrompts prompts;

    // The first time: the documents directory, the suggested name, Portuguese buttons.
    Visto primeiro;
    respondeAoSeletor(primeiro, QString());
    EXPECT_TRUE(prompts
                    .chooseSaveFile(QStringLiteral("Salvar PDF"), QStringLiteral("Relatório.pdf"),
                                    QStringLiteral("Arquivos PDF (*.pdf)"))
                    .isEmpty());
    EXPECT_EQ(primeiro.diretorio, casa.documentos());
    EXPECT_EQ(primeiro.nome, "Relatório.pdf");
    EXPECT_TRUE(primeiro.botoes.contains(QStringLiteral("Cancelar")))
        << primeiro.botoes.join('|').toStdString();
    EXPECT_FALSE(primeiro.botoes.contains(QStringLiteral("Cancel")))
        << primeiro.botoes.join('|').toStdString();

    // A file saved elsewhere: the next chooser opens there.
    QTemporaryDir outro;
    Visto segundo;
    respondeAoSeletor(segundo, outro.filePath(QStringLiteral("lista.pdf")));
    EXPECT_EQ(prompts.chooseSaveFile(QStringLiteral("Salvar PDF"), QStringLiteral("Relatório.pdf"),
                                     QStringLiteral("Arquivos PDF (*.pdf)")),
              outro.filePath(QStringLiteral("lista.pdf")));
    Visto terceiro;
    respondeAoSeletor(terceiro, QString());
    prompts.chooseSaveFile(QStringLiteral("Salvar PDF"), QStringLiteral("Outro.pdf"),
                           QStringLiteral("Arquivos PDF (*.pdf)"));
    EXPECT_EQ(terceiro.diretorio, QDir(outro.path()).absolutePath());
    EXPECT_EQ(terceiro.nome, "Outro.pdf");
}

} // namespace
