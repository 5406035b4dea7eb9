#include "RecipeBox.h"

#include "components/TextKey.h"

bool MemoryRecipeBox::selectItem(const QString& text) {
    for (const QString& item : m_items)
        if (TextKey::same(item, text)) {
            m_text = item;
            return true;
        }
    return false;
}
