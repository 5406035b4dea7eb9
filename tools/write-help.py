# Writes resources/Readme.RTF, the help file, from the text below: python3 tools/write-help.py
import os
import re

def esc(s):
    out = []
    for ch in s:
        o = ord(ch)
        if ch in '\\{}':
            out.append('\\' + ch)
        elif o < 128:
            out.append(ch)
        else:
            out.append('\\u%d?' % (o if o < 32768 else o - 65536))
    return ''.join(out)

def inline(s):
    # **bold** and _italic_ markers
    s = esc(s)
    s = re.sub(r'\*\*(.+?)\*\*', r'{\\b \1}', s)
    s = re.sub(r'__(.+?)__', r'{\\i \1}', s)
    return s

parts = []
def title(t, sub):
    parts.append('{\\pard\\qc\\sa60\\f1\\fs36\\b\\cf1 %s\\par}' % esc(t))
    parts.append('{\\pard\\qc\\sa240\\fs20\\i %s\\par}' % esc(sub))
def h(t):
    parts.append('{\\pard\\sb240\\sa80\\keepn\\fs26\\b\\cf1 %s\\par}' % esc(t))
def h2(t):
    parts.append('{\\pard\\sb120\\sa40\\keepn\\fs21\\b %s\\par}' % esc(t))
def p(t):
    parts.append('{\\pard\\sa100\\fs20 %s\\par}' % inline(t))
def item(t):
    parts.append('{\\pard\\li360\\fi-240\\sa40\\fs20 \\bullet\\tab %s\\par}' % inline(t))
def formula(t):
    parts.append('{\\pard\\li2700\\sa60\\fs20\\f2 %s\\par}' % esc(t))
def row(key, what):
    parts.append('{\\pard\\li2700\\fi-2460\\sa30\\fs20 {\\b %s}\\tab %s\\par}' % (esc(key), inline(what)))

title('Kalvora - Lite Version', 'Formulating alkyd and polyester resins')

h('What Kalvora does')
p('Kalvora keeps a library of raw materials (oils, fatty acids, acids and anhydrides, polyols and amphoteric materials) and the recipes built from them. For every amount you type it works out the rest of the line and, from the whole recipe, the chemistry of the resin: the alkyd constant, the gel point, the molecular mass, the oil length, the hydroxyl figures, the water of reaction, the yield, the batch charges and the cost. Every figure is stored the moment you leave its cell; there is no separate step to save a line.')

h('The recipe header')
p('A recipe is named by its **Resin Type** (for example Alkyd or Polyester) and its **Batch Code**. Choose them in the two boxes at the top of the main window: the type first, then the code among the recipes of that type. Beside them stand the figures that describe the batch you want to make:')
item('**Acid Value**: the acid value, in mg KOH per g of resin, at which you stop the cook. It decides how much of the water of reaction is still to come off, and so the yield.')
item('**Percent Solids**: the solids of the finished product after thinning. The Percent column of the grid and the Percent figures of the results are per cent of that product.')
item('**Description**: free text, printed on the recipe report.')
item('**Batch Size**: the mass of resin (at the target acid value) you want one batch to give, in your batch unit (kg, lb or g). The Batch column of the grid scales every line to it.')
p('A change to the header is stored by **Save** (Ctrl+S); when you close the program with a header change not yet saved, Kalvora asks whether to save it: **Yes** stores it, **No** drops it, and **Cancel** (or Esc) keeps the program open with your change still there.')
p('While you edit a figure, its box shows it in full, as it is stored; the rounded form returns when you leave the box. Retyping what you see therefore never loses a digit.')

h('Building a recipe')
p('The grid lists the recipe\'s ingredient lines. Pick a material in the list on the right (the radio buttons above it narrow the list to one type) and press **Add** or **Insert** under **Ingredient** to add it after the last line or before the current one; **OverWrite** puts the chosen material on the current line, and **Delete** removes the current line. **Add** and **Insert** under **Blank** give a line without a material, whose code you type yourself. A double click on a material, or **Enter** in the list, adds it too. After an ingredient is added, inserted or overwritten the cursor waits in the line\'s **Charge** cell, ready for its mass; after a blank line, in its **Code** cell. A recipe holds up to 127 lines.')
p('The lines are numbered 1, 2, 3 and so on in the Item column, and stay so: a line you start in the grid (with Insert, Down past the last line or Tab past the last cell) takes the number of its place when it is stored, and the lines after it move one on; deleting a line numbers the rest again. To move a line, type the place you want into its Item cell: 1 puts it first, a number past the last line puts it at the end.')
p('A code typed into a line must be a material of the library; in other letters than the library\'s (gly for GLY) it is taken as the library spells it. A code no material has is refused, and the cell stays open for you to correct it. A figure beyond 15 digits, or one that would make the line\'s mass pass 100000, is refused with the name of the column you typed in.')
p('On each line type any one of the four amounts, the others follow from the material\'s molecular mass and functionalities:')
item('**Mass**: the charge of the material, in the recipe\'s mass unit.')
item('**Moles**: mass divided by the molecular mass.')
item('**Ea**: acid equivalents, moles times (acid functionality + 2 x anhydride functionality): an anhydride group opens to two carboxyls.')
item('**Eb**: hydroxyl (base) equivalents, moles times the base functionality.')
p('Only the amounts that make sense for the material can be typed: Ea where it has acid or anhydride groups, Eb where it has hydroxyl groups, and Mass and Moles with either. A material without any functionality takes no amounts. Typing into a cell that is locked for its line beeps, and a tip over the cell says why.')
h2('The oil rule')
p('A material of type **Oil** is a triglyceride: one glycerol and three fatty acids. Each mole of oil carries 3 acid equivalents and 3 hydroxyl equivalents on top of what its functionalities give, it counts as four molecules in the totals, it adds its acid equivalents to the monofunctional acids, and it gives off no water (its ester bonds are already made). All four amounts of an oil line can be typed.')

h('The results')
p('Below the grid the figures of the whole recipe are worked out after every stored amount. Mass, moles and equivalents are summed over the lines (an oil line counting four molecules); W is the water released if every carboxyl and anhydride group esterifies (18 g per mole of groups), and AV the target acid value.')
h2('Calculations')
row("Paton's Constant", 'the alkyd constant: molecules present at the start per acid equivalent. Values near 1 are usual; well below 1 the batch is likely to gel.')
formula('K = total moles / total Ea')
row('FAv', 'the average functionality: twice the acid equivalents per molecule.')
formula('FAv = 2 x total Ea / total moles')
row('PGel', 'the extent of reaction of the acid groups, in per cent, at which the resin gels when every hydroxyl group sits on a triol. Monofunctional acids (fatty acids, oils and every material with an acid functionality of exactly 1) do not branch and are taken out. The gel warning (see Gel safety) uses the functionalities the recipe really has; PGel is its figure for a recipe whose polyols are all triols.')
formula('PGel = 100 x sqrt( (Eb / Ea) / (2 x (1 - monofunctional Ea / Ea)) )')
row('Acid Val at Gel', 'the acid value at the gel point. It is negative when the recipe has more molecules than acid equivalents (K above 1): such a batch does not gel on the way to any positive acid value.')
formula('d = Ea - moles;   AV at gel = 56100 x d / (yield + 18 x d)')
row('Molecular Mass', 'the number-average molecular mass of the resin at the target acid value. It is shown only when the recipe has more molecules than acid equivalents.')
formula('Mn = yield / (yield x AV / 56100 + moles - Ea)')
row('Oil Length', 'the oil content of the resin in per cent of the yield; fatty acids count as their triglyceride (mass + 12.7 g per acid equivalent).')
row('Percent FA', 'the fatty-acid content in per cent of the yield (an oil counts its mass less 93 g per mole for the glycerol).')
h2('Hydroxyl')
row('Excess', 'the hydroxyl excess over the acid in per cent of the acid equivalents; negative for a hydroxyl deficit.')
formula('Excess OH = (Eb / Ea - 1) x 100')
row('Number', 'the hydroxyl number at the target acid value, in mg KOH per g of resin.')
formula('OHN = 56100 x (Eb - Ea) / yield + AV')
row('Equivalent Mass', 'the mass of resin that carries one hydroxyl group: 56100 / OHN.')
row('Percent', 'the hydroxyl content in per cent by mass: 1700 / equivalent mass.')
h2('Quantities')
row('Yield', 'the mass of resin at the target acid value: all the water W comes off except that of the acid groups still free.')
formula('yield = (total mass - W) / (1 - 18 x AV / 56100)')
row('Water Off', 'the water given off: total mass less yield.')
row('Charge, Batch, Percent', 'the recipe as weighed, scaled to the batch size, and in per cent of the finished product at the target solids.')
p('The cost of every line is its mass times the material\'s price; the grid\'s footer sums it, and the recipe report adds the cost per unit mass of resin.')

h('Gel safety')
p('As the cook goes on, the branched molecules join up; at the gel point one network spans the kettle and the batch is lost. Kalvora sets the extent of reaction that your target acid value needs against two predictions of that point:')
formula('p target = 1 - yield x AV / (56100 x Ea)')
row('Statistical gel point', "Flory and Stockmayer's prediction. It assumes that every acid and hydroxyl group reacts independently of the others, all with the same reactivity, and that no ring closes within a molecule. It is the earlier, cautious estimate.")
p('The statistical gel point weighs each side by the functionality f of the unit that carries its groups: the weight-average functionality is the sum of f squared times the units over the sum of f times the units. On the acid side an anhydride group counts as two carboxyls on one unit, and fatty acids, the three fatty acids of an oil and every other monoacid count with f = 1. On the hydroxyl side an oil counts as one triol, its glycerol; pentaerythritol counts with its four hydroxyls, a glycol with two. With r the acid over the hydroxyl equivalents, the recipe gels at the extent p of the acid groups where')
formula('p x (p x r) x (fwA - 1) x (fwB - 1) = 1')
p('and not at all where that p is 1 or more, or where the hydroxyl runs out first. A material with both kinds of groups, such as dimethylolpropionic acid, counts on each side with that side\'s functionality; that is an approximation, since its groups are not independent of one another. With every hydroxyl on a triol, the formula gives the PGel of the results. (Kalvora used to take PGel itself for the statistical gel point, which counted pentaerythritol as a triol and a glycol as a triol as well: a neopentyl glycol polyester with a little trimethylolpropane turned amber, and a pentaerythritol alkyd passed unwarned.)')
row("Carothers' gel point", "the extent equal to Paton's constant K: the batch would gel when as many acid groups have reacted as there were molecules in the charge, where the number-average molecular mass runs to infinity. It is an average over all the molecules, and so comes late.")
p('Real batches gel between the two. Groups of unequal reactivity (the secondary hydroxyl of glycerol, the second carboxyl of an anhydride), rings that close within a molecule and waste their ester bonds, and glycol lost with the water all put the gel point later than the statistical estimate; but the largest molecules gel the batch long before the average one has grown without limit.')
p('The **Acid Val at Gel** panel turns **amber** when the target lies at or past the earlier of the two gel points, and **red** when it lies past both; it turns **violet** when the hydroxyl runs out before the target acid value can be reached, so that the cook stalls above it. Under the FAv panel the verdict stands in a few words, with the acid value it turns on (such as "Gels by the statistical prediction at AV 35.6"), in the panel\'s colour; the tooltip of either tells which prediction is passed and at which acid value, what the other prediction says, or how far the target stays short of the nearer gel point. When a gel point is passed, or the target is out of reach, the recipe report prints the same words under the calculated values. To move the target back out of reach of a gel point, stop the cook at a higher acid value, or add hydroxyl or monofunctional acid, which both raise the alkyd constant. With AutoCalc released, the warning follows Calculate, as the other results do.')
p('The panel\'s own figure, the Acid Val at Gel of the results, is the acid value at Carothers\' gel point as the results have always worked it out; the words beside it name the acid value of the prediction that decides the colour.')
p('The course compares extents of reaction, not acid values: its acid value at Carothers\' gel point stands slightly above the panel\'s Acid Val at Gel (a few tenths for usual recipes), whose formula counts the water of the target\'s free acid groups twice.')

h('The reaction course')
p('**View > Reaction Course** opens a window beside the main window (on the side with more room; where the screen is too narrow, against its edge) that charts the cook of the recipe shown: the acid value (left axis) and the number-average molecular mass Mn (right axis) against the extent of reaction of the acid groups, from the charge at 0 to the target or the first gel point, whichever comes later. Dashed lines mark the statistical gel point, Carothers\' gel point and the target, each labelled with its extent and acid value. Rest the mouse over the chart to read the extent, acid value, Mn and water off there. Mn is drawn only while molecules remain: past Carothers\' gel point there are none.')
p('The table beside the chart gives the same figures at every 0.05 of extent and at the marked points. **Copy Table** (or Ctrl+C in the table) puts it on the clipboard as tab-separated text, which pastes into a spreadsheet in columns. **Save Chart** writes the chart as a PNG picture or as a landscape A4 PDF page that it fills. The window follows the recipe in the main window after every pass of the batch figures, redrawn as soon as you pause in your typing; you can leave it open while you work.')
p('For an extent p of the acid groups:')
formula('e (free acid) = (1 - p) x Ea')
formula('water off = W - 18 x e, never below 0')
formula('resin = total mass - water off')
formula('AV = 56100 x e / resin')
formula('Mn = resin / (moles - p x Ea)')
p('Opening an anhydride ring gives a half ester and no water, so the course shows no water off until the rings have opened. At the target, the course gives the yield, the water off and the molecular mass of the results.')

h('AutoCalc')
p('With **AutoCalc** pressed (the default) the batch columns and the results follow every stored amount. Release it to work on a large recipe without the batch pass after each line: the recipe is still totalled after every amount (the report prints those totals), while the Batch, Percent and Cost columns, the Totals row under the grid and the result panels wait until you press **Calculate**. The report prints the batch figures as they stood at the last calculation.')

h('Recipes: new, save, copy, rename, delete')
item('**New** asks for a type and a code and starts an empty recipe.')
item('**Save** stores the header.')
item('**Save As** copies the recipe, header and lines, under another name.')
item('**Rename** gives the recipe another name; it keeps its date.')
item('**Delete** removes the recipe and all its lines, after asking.')
p('Each of these is stored whole or not at all. The recipe header keeps the date and time it was last changed; the report prints it as "Date last modified".')

h('Printing')
p('**Print** (Ctrl+P) puts the recipe on A4 paper on the printer chosen under **File > Print Setup**, which can also be a PDF file. A small window shows the pages as they go out; **Cancel** there stops the job before anything is sent. With no printer installed Kalvora offers to save the report as a PDF file. When the report has gone into a PDF file, the status bar names the file for a few seconds. A figure too wide for its place on the paper is printed smaller rather than into the next column. The library window\'s **Print** shows the library report in a preview, from which you can print every page or save it as PDF.')

h('Undo and redo')
p('Everything you store can be taken back: a typed amount, a line added, inserted, overwritten or deleted, a header change, a new recipe, Save As, Rename, a deleted recipe and a material stored in the library. **Edit > Undo** (Ctrl+Z) takes back the last of them and names it, for example "Undo Delete Line" or "Undo typing in Mass"; **Edit > Redo** (Ctrl+Y or Ctrl+Shift+Z) does it again. Every action of the session can be taken back in turn, in the order you did them.')
p('An action is taken back where you made it: when it was made on another recipe, that recipe comes back into the window first, with the cursor on the line that changed. A deleted recipe comes back whole, lines and all. A header change comes back with the batch figures it scaled; several header boxes typed before one Save are one action. A material stored in the library is taken back from the main window after the library is closed, with the lines that were worked out again for it; when several materials were stored in one visit, those lines are an action of their own.')
p('What is typed and not yet stored is stored first, and is then the first thing Undo takes back. In a box or a cell you are typing in, Ctrl+Z first takes back the typing there, as in any text box. Undo and Redo are stored like any other change: when the disk refuses one, Kalvora says so, nothing of it is stored, and Undo or Redo stays where it was. The history lasts until the program closes.')

h('Designing a recipe from targets')
p("You need not find the masses by trial. Put the materials into the recipe first, with any masses or none, then choose **View > Design from Targets...**. Kalvora works out the masses that give the recipe the figures you ask for, at the acid value of its header. Every figure is worked out exactly as the results panels work it out: an oil counts as four molecules, a fatty acid's oil mass includes the glycerol of its triglyceride, and water is counted for each carboxyl and anhydride group of the other materials.")
item('The table lists the lines. A line marked **Fixed** keeps its present mass: use it for a set amount of a chain stopper, a drier or a catalyst. Every other line with a material is **free**, and its mass is designed. A line without a material, or of a material with no acid, anhydride or hydroxyl groups (a solvent), is left as it is and counts with its present mass. Space fixes or frees the line the cursor is on.')
item("The conditions are **Oil Length (%)**, **Excess OH (%)**, **Paton's Constant** and **Total Charge**, the sum of the masses. Check one with Space and type its target. They open with the recipe's present figures, with Total Charge checked; a condition you check and do not type into asks for the recipe's own figure in full, not the rounding it shows.")
item('Check as many conditions as there are free lines. Kalvora then solves at once, as you type. It shows the designed masses, and beside them the figures the recipe would have, with its gel safety. Otherwise the line under the table says what to change.')
item('**Apply** (or Enter) writes the designed masses into the free lines. Each line is worked out from its mass as a typed mass would be, and the recipe is re-totalled. It is one action: Ctrl+Z takes it back whole, as "Undo Design from Targets". With AutoCalc off, the panels show the new figures after **Calculate**, as after a typed mass. **Cancel** or Esc changes nothing.')
p('Targets that no positive masses can reach are never applied. The line under the table names the line that would need a negative mass, or more than a line holds. It also says when the conditions cannot fix the masses with these materials: an oil length with no line that carries oil, or two conditions that ask the same thing of the free lines.')
p("**A worked example.** Open Alkyd LO-SOY65: 650 soya bean oil, 130 pentaerythritol and 220 phthalic anhydride, at acid value 10.0. Its oil length is 66.6 % and its Paton's constant 1.041. For a shorter oil of 60 % at the same constant and the same 1000 of charge, open **Design from Targets**. Check **Oil Length (%)** and type 60, then check **Paton's Constant** and leave it at 1.041; Total Charge is checked at 1000.000 already. The table shows 583.741 soya bean oil, 167.578 pentaerythritol and 248.682 phthalic anhydride. The recipe would have oil length 60.0 %, Paton's constant 1.041, excess OH 29.2 %, OH number 100 and yield 972.9. Press Enter to apply.")
p("**One line to one target.** To adjust the mass of one line until the recipe reaches one target (a spreadsheet's goal seek), put the cursor on that line and choose **Adjust Mass to Target...** from the grid's context menu (a right click, or the Menu key). The dialog opens with that line free and all the others fixed, and no condition checked: check the one target you want. In LO-SOY65 as it came, pentaerythritol for an excess OH of 10.0 % is 118.816.")
h('Exchanging recipes with spreadsheets and colleagues')
p("**Copy and paste.** In the grid, **Ctrl+C** copies the selected lines (or the current one) with a heading row, as a spreadsheet takes them: each figure in its own cell, with your decimal separator. **Ctrl+V** pastes rows of a code and a mass, copied from a spreadsheet or from a recipe, before the current line (after the last when the cursor stands on a new line). Each mass is worked out as a typed mass would be. If one row has a code the library lacks or a mass that is no number, nothing is pasted, and the message lists every such row by its number. The grid's context menu (a right click, or the Menu key) has **Copy All Lines** too.")
p('**File > Export...** writes the recipe shown as a CSV file, as a workbook (.xlsx) with a "Recipe" and a "Figures" sheet, or as a **recipe exchange file** (.kalvora-recipe). The exchange file also holds every material the recipe uses, so that it opens on a machine whose library lacks them. The same command writes the whole library as a CSV file. A file is written whole or not at all.')
p('**File > Import..** reads three kinds of file. Kalvora tells them apart by what they hold:')
item("A **recipe exchange file** becomes a recipe of its own. Kalvora asks for its name as Save As does, offering the file's. Materials your library lacks are added. When your library has a material of the same code with other data, the two are shown side by side, the differences in bold: use the library's material (the lines are worked out again from their masses), import the file's under a new code, or cancel the import.")
item("A **library CSV**, with a heading row naming the columns (RMCode, RMCommonName, RMChemClass, RMType, RMMWt, RMFa, RMFan, RMFb, RMPrice, in any order, RMCode among them), updates the library. Rows are matched by code. A preview shows each row as new, changed (with what changes) or unchanged before anything is stored, and lists the rows that cannot be stored: a figure that is no number, an empty or too long code, a type that is none of Kalvora's, or a code twice in the file. A column the file lacks leaves that part of every material as it is. Recipe lines of a material whose molecular mass or functionality changes are worked out again from their masses.")
item('Any other CSV is read as **lines of a code and a mass** and added to the recipe shown as a paste would add them. Semicolons and decimal commas, as German spreadsheets write them, are read too.')
p('Files in UTF-8 and in Windows-1252 (older spreadsheets) are both read. Every import is one action: Ctrl+Z takes it back whole.')

h('The keyboard')
h2('In the grid')
row('Enter', 'stores the cell and moves to the next line; on a closed cell it opens the editor.')
row('Tab, Shift+Tab', 'stores the cell and moves across the line; Tab on the last cell goes on to the next line, and past the last line starts a new one.')
row('Up, Down', 'move between lines; Down on the last line starts a new one.')
row('Left, Right', 'move within the typed text, and to the next cell at its ends.')
row('Page Up, Page Down', 'move a page of lines.')
row('Ctrl+Home, Ctrl+End', 'go to the first or the last line.')
row('F2', 'opens the current cell for editing.')
row('Esc', 'undoes the typing in the cell; pressed again, the line\'s changes.')
row('Insert', 'inserts a blank line before the current one; it is numbered when you store it.')
row('Ctrl+Delete', 'deletes the current line, after asking (OK deletes, Enter alone does not), and numbers the rest again, as the Delete button does.')
row('Ctrl+C, Ctrl+V', 'copy the selected lines for a spreadsheet; paste rows of a code and a mass before the current line.')
h2('In the main window')
row('Ctrl+N', 'New recipe.')
row('Ctrl+S', 'Save.')
row('Ctrl+P', 'Print.')
row('Ctrl+Z', 'Undo the last action stored.')
row('Ctrl+Y, Ctrl+Shift+Z', 'Redo it.')
row('Ctrl+Q', 'Exit.')
row('F1', 'this help.')
row('Alt+B', 'Blank Add: a blank line at the end.')
row('Alt+K', 'Blank Insert: a blank line before the current one.')
row('Alt+G', 'Ingredient Add: the material chosen in the list, as the last line.')
row('Alt+I', 'Ingredient Insert: the material chosen in the list, before the current line.')
row('Alt+W', 'OverWrite: the material chosen in the list, on the current line.')
row('Alt+T', 'Delete the current line.')
row('Enter in the list', 'adds the material highlighted, as a double click does.')
p('The columns of the grid can be widened and dragged into another order by their titles; Kalvora remembers them for the next time. When the window is maximised, the Raw Material Name column takes the extra width.')
h2('In the windows')
p('The underlined letter of every button works with **Alt**. In the dialogs **Enter** presses the default button and **Esc** closes. A question whose Yes would destroy something (deleting a recipe or a line, replacing a material or a recipe of the same name) has No for its default, so that Enter alone destroys nothing. With **Options > Stay On Top**, every window Kalvora opens comes up in front of the main window. In the calculator the digits and + - * / = % work as typed, @ is the square root, r the reciprocal, F9 changes the sign, Backspace, Delete and Esc clear, Ctrl+C and Ctrl+V copy and paste.')

h('The library')
p('Open the library with the **Library** button. It shows one material at a time and a list to pick from; the radio buttons narrow both to one type. **Add**, **Edit**, **Delete**, **Cancel** and **Save** work on the material shown; moving to another material stores a change. The fields:')
item('**Code**: up to 10 characters; the recipe lines find their material by it.')
item('**Common Name** and **Chemical Class**: shown in the grid and the status bar; the list sorts by type, class and code.')
item('**Type**: Oil, Fatty Acid, Acid, Base or Amphoteric. Only "Oil" changes the arithmetic (see the oil rule).')
item('**Mol. Mass**: the molecular mass, g per mole.')
item('**Acid, Anhydride and Base Functionality**: carboxyl groups, anhydride groups and hydroxyl groups per molecule.')
item('**Cost Price**: the price per unit mass.')
p('A material without a code, with a code another material already has (in any letters), or with a negative mass, functionality or price, is refused when you save it; a repeated code already when you leave the Code box. A material that recipe lines still use is deleted only after Kalvora has told you how many lines use it (a library from before codes were kept apart may hold a code twice: deleting one of the two asks nothing, since the other still serves the lines). Closing the library asks about a change only when something differs from what is stored; **Cancel** keeps the window open. When you close the library, the lines that use a changed material are worked out again from their masses, and the recipe shown is totalled again.')

h('Where your data lives')
p('The tables are three files in a folder called **Data**: **BatchInfo.ADT** (recipe headers), **Recipes.adt** (recipe lines) and **RMLib.ADT** (the library). Kalvora looks for the folder in this order: the folder named by **--data** on the command line; the folder in the environment variable **KALVORA_DATA**; the folder set as **Data=** under **[Aliases]** in ~/.config/Kalvora/Kalvora.ini; a folder Data in the folder Kalvora was started in; and otherwise ~/.local/share/Kalvora/Data, which Kalvora fills with the starter tables at its first start, saying so in the status bar. A folder named in one of the first three ways must exist: Kalvora names it and stops rather than make it. To keep the tables on a backed-up or shared drive, name the folder there in the configuration file.')
p('Each table is an SQLite 3 database that any SQLite tool can read. Every change is on disk when Kalvora returns to you, and a change interrupted by a power cut is undone whole the next time the tables are opened. To back up, close Kalvora and copy the whole Data folder; to restore, put the copy back. Only one copy of Kalvora can work on a Data folder at a time.')

rtf = ('{\\rtf1\\ansi\\ansicpg1252\\deff0\n'
       '{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Bookman Old Style;}{\\f2\\fmodern Courier New;}}\n'
       '{\\colortbl;\\red0\\green0\\blue128;}\n'
       '\\f0\\fs20\n' + '\n'.join(parts) + '\n}\n')
open(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'resources', 'Readme.RTF'), 'w', newline='\r\n').write(rtf)
print(len(rtf))
