#include "Embaralha.h"

#include <stdexcept>

namespace {

// shift(i) is what codificar adds to byte i.
template <typename Shift>
QByteArray embaralha(Direcao direcao, const QByteArray& texto, int tamanhoMaximo, Shift shift) {
    if (texto.isEmpty() || texto.size() > tamanhoMaximo)
        throw std::invalid_argument("texto fora do tamanho do embaralhamento");
    QByteArray area(tamanhoMaximo + 1, '\0');
    for (int i = 0; i < texto.size(); ++i) {
        const int delta = direcao == Direcao::Codificar ? shift(i) : -shift(i);
        area[i] = char((static_cast<unsigned char>(texto[i]) + delta) & 0xFF);
    }
    return QByteArray(area.constData()); // up to the first zero byte
}

} // namespace

QByteArray EmbaralhaTexto(Direcao direcao, const QByteArray& texto) {
    return embaralha(direcao, texto, TamanhoMaximoTexto, [](int i) { return 10 - 3 * i; });
}

QByteArray EmbaralhaCodigo(Direcao direcao, const QByteArray& texto) {
    return embaralha(direcao, texto, TamanhoMaximoCodigo, [](int i) { return 10 - i; });
}

ProblemaEmbaralhamento verificaEmbaralhaTexto(const QByteArray& texto) {
    if (texto.isEmpty())
        return ProblemaEmbaralhamento::Vazio;
    if (texto.size() > TamanhoMaximoTexto)
        return ProblemaEmbaralhamento::Longo;
    if (texto.contains('\0') || EmbaralhaTexto(Direcao::Codificar, texto).size() != texto.size())
        return ProblemaEmbaralhamento::ByteZero;
    return ProblemaEmbaralhamento::Nenhum;
}
