-- The starter library of raw materials.
-- Molecular mass in g/mol; functionalities per molecule (an oil's glycerol and fatty acids
-- are counted by the program itself); indicative prices per kg.
-- RMCode, RMCommonName, RMChemClass, RMType, RMMWt, RMFa, RMFan, RMFb, RMPrice
INSERT INTO RMLib VALUES ('LINOIL', 'Linseed Oil', 'Drying Oil', 'Oil', 872.0, 0.0, 0.0, 0.0, 1.65);
INSERT INTO RMLib VALUES ('TUNGOIL', 'Tung Oil', 'Drying Oil', 'Oil', 872.0, 0.0, 0.0, 0.0, 3.1);
INSERT INTO RMLib VALUES ('DCOIL', 'Dehydrated Castor Oil', 'Drying Oil', 'Oil', 876.0, 0.0, 0.0, 0.0, 2.6);
INSERT INTO RMLib VALUES ('SOYOIL', 'Soya Bean Oil', 'Semi-drying Oil', 'Oil', 874.0, 0.0, 0.0, 0.0, 1.2);
INSERT INTO RMLib VALUES ('SAFOIL', 'Safflower Oil', 'Semi-drying Oil', 'Oil', 876.0, 0.0, 0.0, 0.0, 1.9);
INSERT INTO RMLib VALUES ('SUNOIL', 'Sunflower Oil', 'Semi-drying Oil', 'Oil', 876.0, 0.0, 0.0, 0.0, 1.25);
INSERT INTO RMLib VALUES ('CASOIL', 'Castor Oil', 'Non-drying Oil', 'Oil', 933.0, 0.0, 0.0, 2.7, 1.85);
INSERT INTO RMLib VALUES ('COCOIL', 'Coconut Oil', 'Non-drying Oil', 'Oil', 660.0, 0.0, 0.0, 0.0, 1.3);
INSERT INTO RMLib VALUES ('TOFA', 'Tall Oil Fatty Acid', 'Unsaturated Fatty Acid', 'Fatty Acid', 290.0, 1.0, 0.0, 0.0, 1.4);
INSERT INTO RMLib VALUES ('SOYFA', 'Soya Fatty Acid', 'Unsaturated Fatty Acid', 'Fatty Acid', 280.0, 1.0, 0.0, 0.0, 1.6);
INSERT INTO RMLib VALUES ('LINFA', 'Linseed Fatty Acid', 'Unsaturated Fatty Acid', 'Fatty Acid', 279.0, 1.0, 0.0, 0.0, 1.8);
INSERT INTO RMLib VALUES ('DCOFA', 'Dehydrated Castor Fatty Acid', 'Unsaturated Fatty Acid', 'Fatty Acid', 280.0, 1.0, 0.0, 0.0, 2.9);
INSERT INTO RMLib VALUES ('COCFA', 'Coconut Fatty Acid', 'Saturated Fatty Acid', 'Fatty Acid', 207.0, 1.0, 0.0, 0.0, 1.5);
INSERT INTO RMLib VALUES ('STEARIC', 'Stearic Acid', 'Saturated Fatty Acid', 'Fatty Acid', 284.48, 1.0, 0.0, 0.0, 1.3);
INSERT INTO RMLib VALUES ('PA', 'Phthalic Anhydride', 'Aromatic Anhydride', 'Acid', 148.12, 0.0, 1.0, 0.0, 1.1);
INSERT INTO RMLib VALUES ('HHPA', 'Hexahydrophthalic Anhydride', 'Cycloaliphatic Anhydride', 'Acid', 154.16, 0.0, 1.0, 0.0, 3.8);
INSERT INTO RMLib VALUES ('MA', 'Maleic Anhydride', 'Unsaturated Anhydride', 'Acid', 98.06, 0.0, 1.0, 0.0, 1.35);
INSERT INTO RMLib VALUES ('TMA', 'Trimellitic Anhydride', 'Aromatic Anhydride', 'Acid', 192.13, 1.0, 1.0, 0.0, 3.2);
INSERT INTO RMLib VALUES ('IPA', 'Isophthalic Acid', 'Aromatic Diacid', 'Acid', 166.13, 2.0, 0.0, 0.0, 1.45);
INSERT INTO RMLib VALUES ('TPA', 'Terephthalic Acid', 'Aromatic Diacid', 'Acid', 166.13, 2.0, 0.0, 0.0, 1.2);
INSERT INTO RMLib VALUES ('AA', 'Adipic Acid', 'Aliphatic Diacid', 'Acid', 146.14, 2.0, 0.0, 0.0, 1.7);
INSERT INTO RMLib VALUES ('SEBACIC', 'Sebacic Acid', 'Aliphatic Diacid', 'Acid', 202.25, 2.0, 0.0, 0.0, 4.5);
INSERT INTO RMLib VALUES ('BA', 'Benzoic Acid', 'Aromatic Monoacid', 'Acid', 122.12, 1.0, 0.0, 0.0, 1.6);
INSERT INTO RMLib VALUES ('PTBBA', 'p-tert-Butylbenzoic Acid', 'Aromatic Monoacid', 'Acid', 178.23, 1.0, 0.0, 0.0, 3.5);
INSERT INTO RMLib VALUES ('GLY', 'Glycerol', 'Triol', 'Base', 92.09, 0.0, 0.0, 3.0, 1.0);
INSERT INTO RMLib VALUES ('TMP', 'Trimethylolpropane', 'Triol', 'Base', 134.17, 0.0, 0.0, 3.0, 2.1);
INSERT INTO RMLib VALUES ('TME', 'Trimethylolethane', 'Triol', 'Base', 120.15, 0.0, 0.0, 3.0, 2.6);
INSERT INTO RMLib VALUES ('PE', 'Pentaerythritol', 'Tetrol', 'Base', 136.15, 0.0, 0.0, 4.0, 1.75);
INSERT INTO RMLib VALUES ('NPG', 'Neopentyl Glycol', 'Diol', 'Base', 104.15, 0.0, 0.0, 2.0, 1.8);
INSERT INTO RMLib VALUES ('EG', 'Ethylene Glycol', 'Diol', 'Base', 62.07, 0.0, 0.0, 2.0, 0.95);
INSERT INTO RMLib VALUES ('PG', 'Propylene Glycol', 'Diol', 'Base', 76.09, 0.0, 0.0, 2.0, 1.4);
INSERT INTO RMLib VALUES ('DEG', 'Diethylene Glycol', 'Diol', 'Base', 106.12, 0.0, 0.0, 2.0, 1.1);
INSERT INTO RMLib VALUES ('HDO', '1,6-Hexanediol', 'Diol', 'Base', 118.17, 0.0, 0.0, 2.0, 3.4);
INSERT INTO RMLib VALUES ('DMPA', 'Dimethylolpropionic Acid', 'Hydroxy Acid', 'Amphoteric', 134.13, 1.0, 0.0, 2.0, 4.2);
INSERT INTO RMLib VALUES ('DMBA', 'Dimethylolbutanoic Acid', 'Hydroxy Acid', 'Amphoteric', 148.16, 1.0, 0.0, 2.0, 4.8);
INSERT INTO RMLib VALUES ('HSA', '12-Hydroxystearic Acid', 'Hydroxy Fatty Acid', 'Amphoteric', 300.48, 1.0, 0.0, 1.0, 2.4);
INSERT INTO RMLib VALUES ('RICFA', 'Ricinoleic Acid', 'Hydroxy Fatty Acid', 'Amphoteric', 298.46, 1.0, 0.0, 1.0, 3.0);
