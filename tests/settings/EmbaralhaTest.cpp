#include "Embaralha.h"
#include "UsuLocal.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

TEST(EmbaralhaTexto, CodificaComoOsBytesMandam) {
    EXPECT_EQ(EmbaralhaTexto(Direcao::Codificar, "AB"), QByteArray("KI"));
    EXPECT_EQ(EmbaralhaTexto(Direcao::Decodificar, "KI"), QByteArray("AB"));
    // byte + 10 - 3i, modulo 256: position 8 subtracts 14.
    EXPECT_EQ(EmbaralhaTexto(Direcao::Codificar, "AAAAAAAAA"), QByteArray("KHEB?<963"));
}

TEST(EmbaralhaCodigo, CodificaComoOsBytesMandam) {
    EXPECT_EQ(EmbaralhaCodigo(Direcao::Codificar, "AB"), QByteArray("KK"));
    EXPECT_EQ(EmbaralhaCodigo(Direcao::Decodificar, "KK"), QByteArray("AB"));
    const QByteArray twenty(20, 'z');
    EXPECT_EQ(EmbaralhaCodigo(Direcao::Decodificar, EmbaralhaCodigo(Direcao::Codificar, twenty)), twenty);
}

// Each byte is transformed on its own, so a round trip of every printable character at every
// position covers every printable text of 1 to 9 characters; random texts confirm it whole.
TEST(EmbaralhaTexto, IdaEVoltaDeTodoTextoAsciiImprimivel) {
    for (int position = 0; position < TamanhoMaximoTexto; ++position) {
        for (char c = 32; c < 127; ++c) {
            QByteArray text(position + 1, 'a');
            text[position] = c;
            const QByteArray coded = EmbaralhaTexto(Direcao::Codificar, text);
            ASSERT_EQ(coded.size(), text.size());
            ASSERT_EQ(EmbaralhaTexto(Direcao::Decodificar, coded), text)
                << "char " << int(c) << " at " << position;
        }
    }
    QRandomGenerator random(2026);
    for (int n = 0; n < 5000; ++n) {
        QByteArray text(random.bounded(1, 10), ' ');
        for (char& c : text)
            c = char(random.bounded(32, 127));
        ASSERT_EQ(EmbaralhaTexto(Direcao::Decodificar, EmbaralhaTexto(Direcao::Codificar, text)), text);
    }
}

TEST(EmbaralhaTexto, ByteQueViraZeroCortaOResultado) {
    // 246 + 10 = 256 = 0 at position 0: the result would be empty.
    const QByteArray text("\xF6"
                          "abc");
    EXPECT_EQ(EmbaralhaTexto(Direcao::Codificar, text), QByteArray());
    EXPECT_EQ(verificaEmbaralhaTexto(text), ProblemaEmbaralhamento::ByteZero);
    EXPECT_EQ(verificaEmbaralhaTexto("abc"), ProblemaEmbaralhamento::Nenhum);
    EXPECT_EQ(verificaEmbaralhaTexto("0123456789"), ProblemaEmbaralhamento::Longo);
    EXPECT_EQ(verificaEmbaralhaTexto(""), ProblemaEmbaralhamento::Vazio);
}

TEST(Senhas, RecusaSenhaQueNaoPoderiaSerConferida) {
    struct Case {
        QString senha;
        bool aceita;
    };
    const Case cases[] = {
        {QStringLiteral("segredo"), true},
        {QStringLiteral("  segredo  "), true}, // blanks around never count
        {QStringLiteral("123456789"), true},   // nine characters
        {QStringLiteral("1234567890"), false}, // ten: refused, never cut
        {QStringLiteral("ação"), true},        // Windows-1252 bytes
        {QStringLiteral("öla"), false},        // ö becomes zero at position 0
        {QStringLiteral("aùb"), false},        // ù becomes zero at position 1
        {QStringLiteral("日本"), false},       // no Windows-1252 byte
        {QStringLiteral("   "), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Senhas::problema(c.senha).isEmpty(), c.aceita) << c.senha.toStdString();
}

TEST(Senhas, ConfereIgnoraBrancosEmVolta) {
    const QString stored = Senhas::embaralha(QStringLiteral(" ação1 "));
    EXPECT_TRUE(Senhas::confere(QStringLiteral("ação1"), stored));
    EXPECT_TRUE(Senhas::confere(QStringLiteral("  ação1"), stored));
    EXPECT_FALSE(Senhas::confere(QStringLiteral("AÇÃO1"), stored));
    EXPECT_FALSE(Senhas::confere(QStringLiteral("ação"), stored));
    EXPECT_FALSE(Senhas::confere(QStringLiteral("ação1"), QString()));
}
