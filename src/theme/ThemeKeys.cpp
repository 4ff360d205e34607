#include "theme/ThemeKeys.h"

namespace ovex {

const std::array<SlotDefinition, SlotCount> SlotTable = {{
    {"control=", "Form and control color."},
    {"controlshadow=", "Tab unselected state and lines."},
    {"controldarkshadow=", "Control borders."},
    {"controlinfo=", "Control foreground text, combobox arrows, and checkmarks etc..."},
    {"controlhighlight=", "Thin line around controls such as for the text field's and checkbox's."},
    {"controldisabled=", "Control disabled color."},
    {"primarycontrol=", "ToolTipText background color."},
    {"primarycontrolinfo=", "ToolTipText foreground color."},
    {"primarycontrolshadow=", "Scrollbar slider and combobox selection highlight color."},
    {"primarycontroldarkshadow=", "Popup menu border and scrollbar slider dark shadow."},
    {"primarycontrolhighlight=", "Menu thin line highlight."},
    {"systemtextcolor=", "Label text color."},
    {"controltextcolor=", "Form and control text color."},
    {"inactivecontroltextcolor=", "Disabled control text color."},
    {"inactivesystemtextcolor=", "Proxy port address disabled text color."},
    {"usertextcolor=", "User text color."},
    {"texthighlightcolor=", "Table and text selection highlight."},
    {"highlightedtextcolor=", "User text color when highlighted."},
    {"windowbackground=", "Text box and list background color."},
    {"menubackground=", "Menu background color."},
    {"menuforeground=", "Menu text color."},
    {"menuselectedbackground=", "Menu hover selection color."},
    {"menuselectedforeground=", "Menu item selected text color."},
    {"menudisabledforeground=", "Disabled menu item text color."},
    {"seperatorbackground=", "Menu item seperator background color."},
    {"seperatorforeground=", "Menu item seperator foreground color."},
    {"focuscolor=", "Focus color."},
    {"fontsize.system=", "System Text:"},
    {"fontsize.user=", "User Text:"},
    {"fontsize.menu=", "Menu Text:"},
    {"fontsize.windowtitle=", "Window Title:"},
    {"fontsize.subtext=", "Subtext:"},
}};

QString SlotCaption(int slot)
{
    QString caption = QString::fromLatin1(SlotTable[slot].caption);
    if (caption.endsWith(u':'))
        caption.chop(1);
    return caption;
}

void FillSaveKeys(StringArray& SaveKeys)
{
    Mem_Resize(SaveKeys, SlotCount - 1);
    for (int i = 0; i < SlotCount; ++i)
        SaveKeys[i] = QString::fromLatin1(SlotTable[i].key);
}

void FillImportKeys(StringArray& ImportKeys)
{
    Mem_Resize(ImportKeys, SlotCount);
    for (int i = 0; i < SlotCount; ++i)
        ImportKeys[i] = QString::fromLatin1(SlotTable[i].key);
    ImportKeys[SlotCount] = QString::fromLatin1(NameKey);
}

} // namespace ovex
