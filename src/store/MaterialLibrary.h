#pragma once

#include "domain/Recipe.h"

#include <QObject>
#include <optional>
#include <vector>

// A material as the library stores it: each part as stored, a figure never stored empty, and the
// type in the word it was stored with. `id` tells the stored materials apart (0: not stored).
struct StoredMaterial {
    QString code, name, chemClass, type;
    std::optional<double> mwt, fa, fan, fb, price;
    qint64 id = 0;

    // The same parts, wherever stored.
    bool sameParts(const StoredMaterial& other) const;
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
    // Every material as stored now, in the order of code and common name: the library window's.
    virtual std::vector<StoredMaterial> inListOrder() const = 0;

    // Stores a new material (`id` 0) or the parts of a stored one that differ from what is
    // stored, in the transaction of the action under way; the store's error refuses it (two
    // materials of one code and name, for one). Returns the material's id.
    virtual qint64 store(const StoredMaterial& material) = 0;
    virtual void remove(qint64 id) = 0;
    // The library's code for a typed one: as typed when a material has it exactly, else as the
    // first material stored whose code differs only in letter case spells it, else as typed.
    virtual QString spelled(const QString& typed) const = 0;
    // The code of the first material stored under exactly that name; null when none is.
    virtual QVariant codeNamed(const QString& name) const = 0;
    // How many materials are stored under exactly that code (an older library may hold two).
    virtual int countOf(const QString& code) const = 0;
    // Grows whenever what the library holds may have changed, so that a copy knows it is stale.
    virtual quint64 version() const = 0;

signals:
    // The stored library changed: an index may now stand for another material.
    void changed();
};
