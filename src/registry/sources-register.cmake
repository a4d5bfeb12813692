set(REGISTRY_REGISTER_SOURCES
  CamposCertificado.cpp CamposCertificado.h
  Certificados.cpp Certificados.h
  ChaveCertificado.h
  DataDigitada.cpp DataDigitada.h
  DateMaskEdit.cpp DateMaskEdit.h
  PanelExcluiCertificado.cpp PanelExcluiCertificado.h
  PanelModificaCertificado.cpp PanelModificaCertificado.h
  PanelNovoCertificado.cpp PanelNovoCertificado.h
  PanelPrincipalRegistro.cpp PanelPrincipalRegistro.h
  PanelTabKavorel.cpp PanelTabKavorel.h
  SlotPanel.cpp SlotPanel.h
  TabDadosGerais.cpp TabDadosGerais.h
  TabelasKavorel.cpp TabelasKavorel.h
  TDMCertif.cpp TDMCertif.h
  TFormPrincipal.cpp TFormPrincipal.h
)
