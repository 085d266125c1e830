# What a screen reader reads of the running program over AT-SPI: the roles,
# states and interfaces of both windows' controls. Run by
# accessibility_test.sh, with the program already started.
import subprocess
import sys
import time

import pyatspi

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def application(name):
    for _ in range(150):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name:
                return app
        time.sleep(0.1)
    sys.exit(f"FAIL: no application {name} on the accessibility bus")


def descendants(node):
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is None:
            continue
        yield child
        if child.getRoleName() != "table":  # the rows are the table's own business
            yield from descendants(child)


def named(top, role, name):
    found = [a for a in descendants(top) if a.getRoleName() == role and a.name == name]
    if not found:
        sys.exit(f"FAIL: no {role} named {name!r}")
    return found[0]


def states(node):
    return {pyatspi.stateToString(s) for s in node.getState().getStates()}


def interfaces(node):
    return set(node.get_interfaces())


app = application("Ratalia")
main = app.getChildAtIndex(0)
check(main.getRoleName() == "frame", f"the main window's role is {main.getRoleName()}, not frame")

inputs = ["Capitale", "Durata", "Tasso di interesse annuo"]
results = ["Tasso mensile", "Rata mensile", "Montante", "Interessi totali", "Numero di rate"]
for name in inputs:
    field = named(main, "text", name)
    check("editable" in states(field), f"the input {name} is not editable")
    check("EditableText" in interfaces(field), f"the input {name} has no editable text")
for name in results:
    field = named(main, "text", name)
    check("editable" not in states(field), f"the result {name} is announced as editable")
    check("read only" in states(field), f"the result {name} is not read-only")
    check("EditableText" not in interfaces(field), f"the result {name} offers to edit its text")
    check("focusable" in states(field), f"the result {name} cannot take the focus")
showing = [a.name for a in descendants(main) if "showing" in states(a)]
check("€" not in showing, "the label outside the window is announced as showing")

# A calculation through the screen reader's own means, then its results read back.
named(main, "text", "Capitale").queryEditableText().setTextContents("10000")
named(main, "text", "Durata").queryEditableText().setTextContents("24")
calculate = named(main, "push button", "Calcola").queryAction()
calculate.doAction([calculate.getName(i) for i in range(calculate.nActions)].index("Press"))
time.sleep(0.5)
installment = named(main, "text", "Rata mensile").queryText()
check(installment.getText(0, -1) == "446,5932949505", f"the installment reads {installment.getText(0, -1)!r}")

# Ctrl+P on the window opens the plan.
window = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "Ratalia"], capture_output=True,
                        text=True).stdout.split()[0]
subprocess.run(["xdotool", "windowfocus", "--sync", window, "key", "ctrl+p"], check=True)
plan = None
for _ in range(50):
    plan = next((app.getChildAtIndex(i) for i in range(app.childCount)
                 if app.getChildAtIndex(i).name == "Piano di ammortamento"), None)
    if plan is not None:
        break
    time.sleep(0.1)
if plan is None:
    sys.exit("FAIL: Ctrl+P opened no plan window")
check(plan.getRoleName() == "frame", f"the plan window's role is {plan.getRoleName()}, not frame")
table = named(plan, "table", "Rate del piano").queryTable()
check(table.nRows == 24, f"the plan's table has {table.nRows} rows")
check(table.getAccessibleAt(0, 1).name == "446,59", f"the first installment reads {table.getAccessibleAt(0, 1).name!r}")
for name in ["Copia", "Esporta CSV", "Stampa", "Salva PDF", "Chiudi", "Ricomincia"]:
    check("focusable" in states(named(plan, "push button", name)), f"the button {name} cannot take the focus")
# Each figure reads as its name and its value, wherever it is shown.
for name in ["TAEG: 6,96 %", "Rata: 446,59", "Totale dovuto: 10.718,25", "Costo totale del credito: 718,25"]:
    figures = [a for a in descendants(plan) if a.getRoleName() == "label" and a.name == name]
    check(figures, f"no figure reads {name!r}")
# The inputs in their sections, each a field or a list named for what it holds.
for name in ["Capitale", "Durata", "Tasso annuo nominale", "Spese iniziali", "Data della prima rata"]:
    check("EditableText" in interfaces(named(plan, "text", name)), f"the plan's input {name} is not an editable text")
# A list reads as its option, and is labelled by its caption.
labelled = set()
for box in (a for a in descendants(plan) if a.getRoleName() == "combo box"):
    for relation in box.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            labelled.update(relation.getTarget(i).name for i in range(relation.getNTargets()))
for caption in ["Ammortamento:", "Imposta sostitutiva:", "Tipo di finanziamento:", "Riduci:"]:
    check(caption in labelled, f"no list is labelled {caption!r}: {sorted(labelled)}")

# Alt+G shows the chart, which reads as a chart and tells its numbers in words.
planWindow = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "Piano di ammortamento"],
                            capture_output=True, text=True).stdout.split()[0]
subprocess.run(["xdotool", "windowfocus", "--sync", planWindow, "key", "alt+g"], check=True)
time.sleep(0.5)
chart = named(plan, "chart", "Grafico del piano")
check("showing" in states(chart), "the chart is not shown after Alt+G")
check("focusable" in states(chart), "the chart cannot take the focus")
check("la quota capitale supera gli interessi fin dalla prima rata." in chart.description
      and "Il debito residuo scende da 10.000,00 a 0,00, in 24 rate." in chart.description,
      f"the chart's description reads {chart.description!r}")

for failure in failures:
    print("FAIL:", failure)
print(f"{len(failures)} of the screen reader's checks failed" if failures else "the screen reader reads what it should")
sys.exit(1 if failures else 0)
