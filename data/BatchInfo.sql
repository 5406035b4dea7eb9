-- The starter recipe headers.
-- BatchType, BatchCode, Description, AV (target acid value), Solids (%), Size (batch size), Date (last stored; empty for these)
INSERT INTO BatchInfo VALUES ('Alkyd', 'LO-SOY65', 'Long-oil soya alkyd, PE / PA, for air-drying gloss paints', 10.0, 60.0, 1000.0, NULL);
INSERT INTO BatchInfo VALUES ('Alkyd', 'MO-TOF50', 'Medium-oil TOFA alkyd, benzoic modified, for primers', 10.0, 55.0, 1000.0, NULL);
INSERT INTO BatchInfo VALUES ('Alkyd', 'SO-COC35', 'Short-oil coconut alkyd for stoving enamels', 12.0, 60.0, 1000.0, NULL);
INSERT INTO BatchInfo VALUES ('Polyester', 'SP-NPG01', 'Saturated OH-polyester NPG/TMP/IPA/AA, coil coatings', 8.0, 70.0, 1000.0, NULL);
