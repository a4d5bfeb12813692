#pragma once

#include <QByteArray>
#include <optional>

// The scrambling of passwords (and of the program version stamped into each batch) and of the
// confirmation code of a manual batch result. Both work byte by byte, modulo 256, on a zero-filled
// work area holding the text and a terminating zero; the result ends at the first zero byte.
enum class Direcao { Codificar = 0, Decodificar = 1 };

// Texts of 1 to 9 bytes: codificar adds 10 - 3*i to byte i, decodificar subtracts it.
QByteArray EmbaralhaTexto(Direcao direcao, const QByteArray& texto);
// Texts of 1 to 20 bytes: codificar adds 10 - i to byte i, decodificar subtracts it.
QByteArray EmbaralhaCodigo(Direcao direcao, const QByteArray& texto);

inline constexpr int TamanhoMaximoTexto = 9;
inline constexpr int TamanhoMaximoCodigo = 20;

// Why a text cannot be scrambled and read back: empty, too long, or one of its bytes would
// become the zero that ends the work area (the rest would be lost). Empty when it can.
enum class ProblemaEmbaralhamento { Nenhum, Vazio, Longo, ByteZero };
ProblemaEmbaralhamento verificaEmbaralhaTexto(const QByteArray& texto);
