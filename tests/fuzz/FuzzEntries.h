#pragma once

#include <cstddef>
#include <cstdint>

// One entry point per reader of outside input: each hands the bytes to the program's own code the
// way the program meets them (a file, a listing, a typed text). The libFuzzer targets call them,
// and the ordinary suite replays every stored input through them. Each returns 0; an input that
// breaks a rule the reader promises ends the process with a message (so the fuzzer keeps it).
int fuzzOneParadox(const uint8_t* data, size_t size);
int fuzzOneImportacao(const uint8_t* data, size_t size);
int fuzzOneArquivoZip(const uint8_t* data, size_t size);
int fuzzOneObservacoes(const uint8_t* data, size_t size);
int fuzzOneListagemFtp(const uint8_t* data, size_t size);
int fuzzOneCodigoConfirmacao(const uint8_t* data, size_t size);
int fuzzOneMascaras(const uint8_t* data, size_t size);
int fuzzOneTexto(const uint8_t* data, size_t size);
