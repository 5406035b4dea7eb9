#pragma once

#include <QIcon>
#include <QString>
#include <vector>

// A numbered set of pictures drawn from the program's vector resources.
class ImageList {
public:
    // Loads ":/icons/<prefix>NN.svg" for NN from 0 to count - 1.
    ImageList(const QString& prefix, int count);
    int count() const { return int(m_icons.size()); }
    QIcon icon(int index) const;

    // One vector resource as an icon, rendered sharply at the usual sizes.
    static QIcon fromSvg(const QString& resource);

private:
    std::vector<QIcon> m_icons;
};
