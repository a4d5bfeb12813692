-- placeholder until the generator writes the full schema
CREATE TABLE CONFIG_LOCAL (SiglaCertificador VARCHAR(8) NOT NULL CHECK (length(SiglaCertificador) <= 8), PRIMARY KEY (SiglaCertificador));
