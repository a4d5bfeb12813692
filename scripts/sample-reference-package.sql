-- SAMPLE PACKAGE CHANGES, INVENTED FOR TRYING THE VERSION SCREENS. NOT THE AUTHORITY'S DATA.
-- Applied over sample-reference.sql before the sample package "OC-TAB-{VERSAO}.zip" is written
-- (scripts/make-sample-reference-package), so that installing it visibly changes, adds and keeps
-- rows. {SIGLA} is the certifier the package accredits, {VERSAO} the package's version.

-- Added: a country that names the package it came in, so each installed version can be told apart.
INSERT INTO PAIS (CodigoPais, NomePais, UsuResp) VALUES
  ('ZZ', 'País de amostra (pacote {VERSAO})', 'AMOSTRA');

-- Changed: a product class renamed.
UPDATE CLASSE_P SET NomClasseProd = 'Refrigeradores e congeladores (amostra)' WHERE IdClasseProd = 120;

-- Added: a normative document for fire extinguishers, and the accreditation that offers it.
INSERT INTO DOC_NORMATIVOS (IdDocNorm, IdClasseCertif, IdClasseProd, NomeTitulo, IdTipoDoc, StatusDoc) VALUES
  (1010, 'COMP', 300, 'Portaria 999/2026 - Extintores (amostra)', 1, 'A');
INSERT INTO CREDENCIAMENTO (SiglaCertificador, IdClasseCertif, IdClasseProd) VALUES
  ('{SIGLA}', 'COMP', 300);
