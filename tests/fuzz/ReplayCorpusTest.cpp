#include "FuzzEntries.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <gtest/gtest.h>
#include <ostream>

namespace {

struct Alvo {
    const char* nome;
    int (*entrada)(const uint8_t*, size_t);
};

const Alvo Alvos[] = {
    {"Paradox", fuzzOneParadox},         {"Importacao", fuzzOneImportacao},
    {"ArquivoZip", fuzzOneArquivoZip},   {"Observacoes", fuzzOneObservacoes},
    {"ListagemFtp", fuzzOneListagemFtp}, {"CodigoConfirmacao", fuzzOneCodigoConfirmacao},
    {"Mascaras", fuzzOneMascaras},       {"Texto", fuzzOneTexto},
};

void PrintTo(const Alvo& alvo, std::ostream* os) {
    *os << alvo.nome;
}

class ReplayCorpus : public ::testing::TestWithParam<Alvo> {};

} // namespace

// Every stored input of a reader (its seeds, what the campaigns kept, and every input that ever
// broke it) goes through the same entry point the fuzzer calls: a fault once mended stays mended.
TEST_P(ReplayCorpus, EveryStoredInputIsReadWithoutFault) {
    const Alvo alvo = GetParam();
    const QDir pasta(QStringLiteral(TARVENDIX_FUZZ_CORPUS "/") + QLatin1String(alvo.nome));
    const QFileInfoList arquivos = pasta.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name);
    ASSERT_FALSE(arquivos.isEmpty()) << "no stored inputs in " << pasta.path().toStdString();
    for (const QFileInfo& arquivo : arquivos) {
        QFile file(arquivo.filePath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << arquivo.filePath().toStdString();
        const QByteArray bytes = file.readAll();
        SCOPED_TRACE(arquivo.fileName().toStdString());
        // A fault ends the process: the last name printed is the input that caused it.
        std::fprintf(stderr, "%s\n", qPrintable(arquivo.filePath()));
        EXPECT_EQ(alvo.entrada(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Leitores, ReplayCorpus, ::testing::ValuesIn(Alvos),
                         [](const ::testing::TestParamInfo<Alvo>& info) {
                             return std::string(info.param.nome);
                         });
