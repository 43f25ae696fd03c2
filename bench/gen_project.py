#!/usr/bin/env python3
"""Writes a synthetic VB6 project of about LINES lines into DIR.

The project mixes standard modules and classes; procedures hold continued statements, nested blocks,
Debug.Print lines, labels with GoTo, property procedures with member attributes, Windows-1252 comments
and strings, all with CRLF line ends. The same arguments always give the same bytes.

  gen_project.py DIR LINES [--modules N] [--single]
"""
import argparse
import os
import random

CRLF = "\r\n"
ACCENTED = "éèàçùâêîôûëïü€’"  # all in Windows-1252


def words(rng, n):
    pool = ["client", "commande", "total", "ligne", "prix", "quantité", "état", "remise", "été", "dépôt"]
    return " ".join(rng.choice(pool) for _ in range(n))


def procedure(rng, idx, out):
    """Appends one procedure to `out` (a list of lines)."""
    kind = rng.random()
    name = f"Proc{idx}"
    if kind < 0.15:
        out.append(f"Public Property Get {name}() As Long")
        out.append(f"Attribute {name}.VB_Description = \"Valeur {words(rng, 2)}\"")
        out.append(f"    {name} = m{name}")
        out.append("End Property")
        out.append("")
        out.append(f"Public Property Let {name}(ByVal NewValue As Long)")
        out.append(f"    m{name} = NewValue")
        out.append("End Property")
        return
    is_fn = kind < 0.55
    head = "Function" if is_fn else "Sub"
    ret = " As Long" if is_fn else ""
    out.append(f"' {words(rng, 4)} {rng.choice(ACCENTED)}")
    out.append(f"Private {head} {name}(ByVal a As Long, _")
    out.append(f"        ByRef b As String){ret}")
    out.append("    Dim i As Long, s As String")
    out.append("    Const LIMIT As Long = 10")
    for _ in range(rng.randint(3, 14)):
        r = rng.random()
        if r < 0.2:
            out.append("    For i = 1 To LIMIT")
            out.append("        If i Mod 2 = 0 Then")
            out.append(f"            s = s & \"{words(rng, 2)}\" & _")
            out.append("                CStr(i)")
            out.append("        Else")
            out.append("            b = b & Chr$(65 + i)")
            out.append("        End If")
            out.append("    Next i")
        elif r < 0.3:
            out.append(f"    Debug.Print \"{name}\"; a; b")
        elif r < 0.4:
            out.append("    Select Case a")
            out.append("    Case 1")
            out.append(f"        s = \"{words(rng, 1)}\"")
            out.append("    Case Else")
            out.append("        s = vbNullString")
            out.append("    End Select")
        elif r < 0.45:
            out.append("#If DEBUG_MODE Then")
            out.append("    Debug.Print \"trace\"")
            out.append("#End If")
        elif r < 0.5:
            out.append("    If a < 0 Then GoTo Fin")
        else:
            out.append(f"    a = a + {rng.randint(1, 99)} ' {words(rng, 2)}")
    first = len(out) - 1
    while not out[first].startswith("Private "):
        first -= 1
    if any("GoTo Fin" in l for l in out[first:]):
        out.append("Fin:")
    if is_fn:
        out.append(f"    {name} = a")
    out.append(f"End {head}")


def module_text(rng, vb_name, is_class, target, first_proc):
    out = []
    if is_class:
        out += ["VERSION 1.0 CLASS", "BEGIN", "  MultiUse = -1  'True", "  Persistable = 0  'NotPersistable",
                "  DataBindingBehavior = 0  'vbNone", "  DataSourceBehavior  = 0  'vbNone",
                "  MTSTransactionMode  = 0  'NotAnMTSObject", "END"]
    out.append(f'Attribute VB_Name = "{vb_name}"')
    if is_class:
        out += ["Attribute VB_GlobalNameSpace = False", "Attribute VB_Creatable = True",
                "Attribute VB_PredeclaredId = False", "Attribute VB_Exposed = False"]
    out += ["Option Explicit", f"' Module généré : {vb_name}", ""]
    idx = first_proc
    decl_at = len(out)
    props = []
    while len(out) < target:
        before = len(out)
        procedure(rng, idx, out)
        if out[before].startswith("Public Property Get"):
            props.append(f"Proc{idx}")
        out.append("")
        idx += 1
    out[decl_at:decl_at] = [f"Private mProc{p} As Long" for p in props] + [""]
    return out, idx


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("dir")
    ap.add_argument("lines", type=int)
    ap.add_argument("--modules", type=int, default=0, help="number of files (default: one per ~1,500 lines)")
    ap.add_argument("--single", action="store_true", help="one standard module holding all the lines")
    ap.add_argument("--seed", type=int, default=12)
    a = ap.parse_args()
    rng = random.Random(a.seed)
    count = 1 if a.single else (a.modules or max(1, a.lines // 1500))
    per = a.lines // count
    os.makedirs(a.dir, exist_ok=True)
    vbp = ["Type=Exe"]
    proc = 0
    for m in range(count):
        is_class = (not a.single) and m % 3 == 2
        name = f"cls{m:04d}" if is_class else f"mod{m:04d}"
        lines, proc = module_text(rng, name, is_class, per, proc)
        if m == 0:  # the routine the engine's default handler template calls
            lines += ["Public Function gestErreur(ByVal Proc As String, ByVal E As ErrObject, _",
                      "                           ByVal L As Long) As Long", "    gestErreur = vbAbort",
                      "End Function"]
        ext = ".cls" if is_class else ".bas"
        vbp.append(f"{'Class' if is_class else 'Module'}={name}; {name}{ext}")
        with open(os.path.join(a.dir, name + ext), "wb") as f:
            f.write((CRLF.join(lines) + CRLF).encode("cp1252"))
    vbp += ['Name="Bench"', 'Startup="Sub Main"', ""]
    with open(os.path.join(a.dir, "Bench.vbp"), "wb") as f:
        f.write(CRLF.join(vbp).encode("cp1252"))


if __name__ == "__main__":
    main()
