#pragma once

#include "domain/Recipe.h"

#include <QObject>
#include <optional>
#include <vector>

// A material as the library report prints it: each part as stored, a figure never stored empty,
// and the type in the word it was stored with.
struct StoredMaterial {
    QString code, name, chemClass, type;
    std::optional<double> mwt, fa, fan, fb, price;
};

// The library as the windows list it: its materials in code order, read one at a time so that a
// list of thousands holds no copies. A store implements it; the lists know only this.
class MaterialLibrary : public QObject, public MaterialLookup {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual int size() const = 0;
    // The material at `index` of the code order, whole.
    virtual Material at(int index) const = 0;
    // The parts a list shows and filters on, without making the whole value.
    virtual QString nameAt(int index) const = 0;
    virtual QString codeAt(int index) const = 0;
    // The type a list files the material under: its word matched without letter case.
    virtual MaterialType listedTypeAt(int index) const = 0;
    // Every material as stored now, in the order of type, chemical class and code.
    virtual std::vector<StoredMaterial> inPrintOrder() const = 0;

signals:
    // The stored library changed: an index may now stand for another material.
    void changed();
};
