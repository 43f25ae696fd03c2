Attribute VB_Name = "M"
Sub A()
End Sub
' see '########## %Manage Error% ##########
Sub B(a) ' '########## %Manage Error% ##########
'########## %Manage Error% ##########
y = 1
'########## %Manage Error% ##########
End Sub
