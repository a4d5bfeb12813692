-- SAMPLE REFERENCE DATA, FOR TRYING THE PROGRAM AND FOR THE TESTS ONLY.
-- These rows are invented: the real reference tables come from the authority's packages
-- ("Atualização de Tabelas Kavorel..."). The accreditations are written for the acronym that
-- replaces {SIGLA} (scripts/load-sample-reference does it).

INSERT INTO PAIS (CodigoPais, NomePais, UsuResp) VALUES
  ('BR', 'Brasil', 'AMOSTRA'), ('AR', 'Argentina', 'AMOSTRA'), ('CN', 'China', 'AMOSTRA'),
  ('DE', 'Alemanha', 'AMOSTRA'), ('US', 'Estados Unidos', 'AMOSTRA');

INSERT INTO UF (SiglaUF, NomeUF) VALUES
  ('AC', 'Acre'), ('AL', 'Alagoas'), ('AP', 'Amapá'), ('AM', 'Amazonas'), ('BA', 'Bahia'),
  ('CE', 'Ceará'), ('DF', 'Distrito Federal'), ('ES', 'Espírito Santo'), ('GO', 'Goiás'),
  ('MA', 'Maranhão'), ('MT', 'Mato Grosso'), ('MS', 'Mato Grosso do Sul'), ('MG', 'Minas Gerais'),
  ('PA', 'Pará'), ('PB', 'Paraíba'), ('PR', 'Paraná'), ('PE', 'Pernambuco'), ('PI', 'Piauí'),
  ('RJ', 'Rio de Janeiro'), ('RN', 'Rio Grande do Norte'), ('RS', 'Rio Grande do Sul'),
  ('RO', 'Rondônia'), ('RR', 'Roraima'), ('SC', 'Santa Catarina'), ('SP', 'São Paulo'),
  ('SE', 'Sergipe'), ('TO', 'Tocantins');

INSERT INTO PAPEL_EMP (IdPapelEmp, PapelEmp, UsuResp) VALUES
  (1, 'Fabricante', 'AMOSTRA'), (2, 'Importador', 'AMOSTRA'), (3, 'Solicitante', 'AMOSTRA'),
  (4, 'Prestador de Serviço', 'AMOSTRA');

INSERT INTO CLASSE_C (IdClasseCertif, NomClasseCertif, AspectoProduto, UsuResp) VALUES
  ('COMP', 'Certificação Compulsória', 'Segurança', 'AMOSTRA'),
  ('VOL', 'Certificação Voluntária', 'Desempenho', 'AMOSTRA'),
  ('SERV', 'Certificação de Serviços', 'Serviço', 'AMOSTRA');

INSERT INTO CLASSE_P (IdClasseProd, ClasseSup, NomClasseProd, UnMedida, UsuResp) VALUES
  (100, NULL, 'Eletrodomésticos', 'un', 'AMOSTRA'),
  (110, 100, 'Aparelhos de ar condicionado', 'un', 'AMOSTRA'),
  (120, 100, 'Refrigeradores', 'un', 'AMOSTRA'),
  (200, NULL, 'Brinquedos', 'un', 'AMOSTRA'),
  (300, NULL, 'Extintores de incêndio', 'un', 'AMOSTRA');

INSERT INTO CLASSE_S (IdClasseServ, IdClasseProd, ClasseSuperiorServ, NomClasseServ, UsuResp) VALUES
  (10, 300, NULL, 'Inspeção técnica e manutenção de extintores', 'AMOSTRA'),
  (20, 110, NULL, 'Instalação de ar condicionado', 'AMOSTRA');

INSERT INTO TIPO_DOC (IdTipoDoc, TipoDoc) VALUES
  (1, 'Portaria'), (2, 'Norma Técnica'), (3, 'Regulamento Técnico');

INSERT INTO DOC_NORMATIVOS (IdDocNorm, IdClasseCertif, IdClasseProd, NomeTitulo, IdTipoDoc, StatusDoc) VALUES
  (1001, 'COMP', 110, 'Portaria 001/2010 - Ar condicionado', 1, 'A'),
  (1002, 'COMP', 120, 'Portaria 002/2011 - Refrigeradores', 1, 'A'),
  (1003, 'COMP', 200, 'Norma 300-1 - Segurança de brinquedos', 2, 'A'),
  (1004, 'VOL', 110, 'Regulamento 12 - Eficiência energética', 3, 'A'),
  (1005, 'COMP', 200, 'Norma 300-0 - revogada', 2, 'C'),
  (1006, 'COMP', 110, 'Norma 5858 - Segurança elétrica', 2, 'A'),
  (1007, 'COMP', 110, 'Regulamento 45 - Ruído', 3, 'A'),
  (1008, 'COMP', 200, 'Portaria 563/2016 - Brinquedos', 1, 'A'),
  (1009, 'VOL', 200, 'Norma 300-2 - Durabilidade', 2, 'A');

INSERT INTO DOC_NORMATIVOS_SERV (IdDocNorm, IdClasseCertif, IdClasseServ, NomeTitulo, IdTipoDoc, StatusDoc) VALUES
  (2001, 'SERV', 10, 'Portaria 206/2011 - Extintores', 1, 'A'),
  (2002, 'SERV', 20, 'Norma 16401 - Instalação', 2, 'A'),
  (2003, 'SERV', 10, 'Norma 12962 - Manutenção de extintores', 2, 'A'),
  (2004, 'SERV', 10, 'Portaria 005/2011 - revogada', 1, 'S');

-- The certifier {SIGLA} is accredited for these classes (refrigerators, 120, on purpose not).
INSERT INTO CREDENCIAMENTO (SiglaCertificador, IdClasseCertif, IdClasseProd) VALUES
  ('{SIGLA}', 'COMP', 110), ('{SIGLA}', 'COMP', 200), ('{SIGLA}', 'VOL', 110);

INSERT INTO CREDENCIAMENTO_SERV (SiglaCertificador, IdClasseCertif, IdClasseServ) VALUES
  ('{SIGLA}', 'SERV', 10);
