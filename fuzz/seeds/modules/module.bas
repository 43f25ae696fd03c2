Attribute VB_Name = "M"
Option Explicit
Private Sub S(a, _
    b)
10  If a Then
    Debug.Print "x": b = 1
  End If
End Sub
