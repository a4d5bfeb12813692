#include "TabelasKavorel.h"

namespace TabelasKavorel {

const QList<ConsultaKavorel>& consultas() {
    static const QList<ConsultaKavorel> list{
        {QStringLiteral("qryClasseP"),
         QStringLiteral("Classe de Produtos"),
         QStringLiteral("SELECT DISTINCT P.IdClasseProd, P.NomClasseProd, S.NomClasseProd AS NomClasseSup, "
                        "P.UnMedida FROM CLASSE_P P "
                        "JOIN CREDENCIAMENTO CC ON CC.IdClasseProd = P.IdClasseProd "
                        "JOIN CONFIG_LOCAL C ON C.SiglaCertificador = CC.SiglaCertificador "
                        "LEFT JOIN CLASSE_P S ON S.IdClasseProd = P.ClasseSup"),
         {QStringLiteral("IdClasseProd"), QStringLiteral("NomClasseProd"), QStringLiteral("NomClasseSup"),
          QStringLiteral("UnMedida")},
         {QStringLiteral("Identificação"), QStringLiteral("Classe de Produtos"),
          QStringLiteral("Classe Superior"), QStringLiteral("Unid. Medida")},
         QStringLiteral("NomClasseProd")},
        {QStringLiteral("qryClasseS"),
         QStringLiteral("Classe de Serviços"),
         QStringLiteral(
             "SELECT DISTINCT S.IdClasseServ, S.NomClasseServ, SS.NomClasseServ AS NomClasseSuperior, "
             "P.NomClasseProd FROM CLASSE_S S "
             "JOIN CREDENCIAMENTO_SERV CS ON CS.IdClasseServ = S.IdClasseServ "
             "JOIN CONFIG_LOCAL C ON C.SiglaCertificador = CS.SiglaCertificador "
             "LEFT JOIN CLASSE_S SS ON SS.IdClasseServ = S.ClasseSuperiorServ "
             "LEFT JOIN CLASSE_P P ON P.IdClasseProd = S.IdClasseProd"),
         {QStringLiteral("IdClasseServ"), QStringLiteral("NomClasseServ"),
          QStringLiteral("NomClasseSuperior"), QStringLiteral("NomClasseProd")},
         {QStringLiteral("Identificação"), QStringLiteral("Classe de Serviços"),
          QStringLiteral("Classe Superior"), QStringLiteral("Classe de Produtos")},
         QStringLiteral("NomClasseServ")},
        {QStringLiteral("qryTbKavorelPais"),
         QStringLiteral("País"),
         QStringLiteral("SELECT CodigoPais, NomePais FROM PAIS"),
         {QStringLiteral("CodigoPais"), QStringLiteral("NomePais")},
         {QStringLiteral("Código"), QStringLiteral("País")},
         QStringLiteral("NomePais")},
        {QStringLiteral("qryTbKavorelPapelEm"),
         QStringLiteral("Papel da Empresa"),
         QStringLiteral("SELECT IdPapelEmp, PapelEmp FROM PAPEL_EMP"),
         {QStringLiteral("IdPapelEmp"), QStringLiteral("PapelEmp")},
         {QStringLiteral("Identificação"), QStringLiteral("Papel da Empresa")},
         QStringLiteral("PapelEmp")},
        {QStringLiteral("qryTbKavorelTipoCer"),
         QStringLiteral("Classe de Certificado"),
         QStringLiteral("SELECT IdClasseCertif, NomClasseCertif, AspectoProduto FROM CLASSE_C"),
         {QStringLiteral("IdClasseCertif"), QStringLiteral("NomClasseCertif"),
          QStringLiteral("AspectoProduto")},
         {QStringLiteral("Identificação"), QStringLiteral("Classes de Certificados"),
          QStringLiteral("Aspecto Certificado")},
         QStringLiteral("NomClasseCertif")},
    };
    return list;
}

} // namespace TabelasKavorel

QString OrdemKavorel::ordena(const QString& campo) {
    descendente_ = campo == campo_ && !descendente_;
    campo_ = campo;
    return QStringLiteral("Order by ") + campo + (descendente_ ? QStringLiteral(" DESC") : QString());
}
