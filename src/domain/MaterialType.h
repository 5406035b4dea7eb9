#pragma once

#include <QString>
#include <QStringList>

// What a raw material is, as the arithmetic tells it apart. Only an oil (a triglyceride) and a
// fatty acid change the arithmetic; the other kinds are told apart for the user's lists. The
// words are the store's: they are read and written at its edge only, exactly and with their
// letter case, and a word that is none of them is Other.
enum class MaterialType { Oil, FattyAcid, Acid, Base, Amphoteric, Other };

MaterialType materialTypeOf(const QString& word);
// The type a list files a word under: matched as the store's text keys match, without the letter
// case of ASCII letters, so that "oil" is listed with the oils though the arithmetic takes it for
// Other.
MaterialType listedMaterialTypeOf(const QString& word);
// The stored word of a type; empty for Other.
QString materialTypeWord(MaterialType type);
// The five types a material can be given, in the order the library's list sorts them.
const QList<MaterialType>& materialTypes();
