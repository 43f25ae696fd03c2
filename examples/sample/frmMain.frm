VERSION 5.00
Begin VB.Form frmMain 
   BorderStyle     =   3  'Fixed Dialog
   Caption         =   "Clients"
   ClientHeight    =   4830
   ClientLeft      =   45
   ClientTop       =   330
   ClientWidth     =   5895
   BeginProperty Font 
      Name            =   "Tahoma"
      Size            =   8.25
      Charset         =   0
      Weight          =   400
      Underline       =   0   'False
      Italic          =   0   'False
      Strikethrough   =   0   'False
   EndProperty
   Icon            =   "frmMain.frx":0000
   LinkTopic       =   "Form1"
   MaxButton       =   0   'False
   MinButton       =   0   'False
   ScaleHeight     =   4830
   ScaleWidth      =   5895
   ShowInTaskbar   =   0   'False
   StartUpPosition =   2  'CenterScreen
   Begin VB.CommandButton cmdClose 
      Cancel          =   -1  'True
      Caption         =   "&Fermer"
      Height          =   375
      Left            =   4560
      TabIndex        =   12
      Top             =   3870
      Width           =   1215
   End
   Begin VB.CommandButton cmdRemove 
      Caption         =   "&Supprimer"
      Height          =   375
      Left            =   4560
      TabIndex        =   11
      Top             =   2520
      Width           =   1215
   End
   Begin VB.CommandButton cmdAdd 
      Caption         =   "&Ajouter"
      Default         =   -1  'True
      Height          =   375
      Left            =   4560
      TabIndex        =   10
      Top             =   2040
      Width           =   1215
   End
   Begin VB.ListBox lstCustomers 
      Height          =   2205
      Left            =   120
      TabIndex        =   9
      Top             =   2040
      Width           =   4335
   End
   Begin VB.Frame fraCustomer 
      Caption         =   "Nouveau client"
      Height          =   1815
      Left            =   120
      TabIndex        =   0
      Top             =   120
      Width           =   5655
      Begin VB.TextBox txtAmount 
         Alignment       =   1  'Right Justify
         Height          =   315
         Left            =   1200
         TabIndex        =   8
         Top             =   1110
         Width           =   1335
      End
      Begin VB.TextBox txtCity 
         Height          =   315
         Left            =   2700
         TabIndex        =   6
         Top             =   690
         Width           =   2835
      End
      Begin VB.TextBox txtZip 
         Height          =   315
         Left            =   1200
         MaxLength       =   5
         TabIndex        =   4
         Top             =   690
         Width           =   735
      End
      Begin VB.TextBox txtName 
         Height          =   315
         Left            =   1200
         TabIndex        =   2
         Top             =   270
         Width           =   4335
      End
      Begin VB.Label lblAmount 
         Caption         =   "&Montant (€) :"
         Height          =   255
         Left            =   120
         TabIndex        =   7
         Top             =   1140
         Width           =   1035
      End
      Begin VB.Label lblCity 
         Caption         =   "&Ville :"
         Height          =   255
         Left            =   2040
         TabIndex        =   5
         Top             =   720
         Width           =   615
      End
      Begin VB.Label lblZip 
         Caption         =   "Code &postal :"
         Height          =   255
         Left            =   120
         TabIndex        =   3
         Top             =   720
         Width           =   1035
      End
      Begin VB.Label lblName 
         Caption         =   "&Nom :"
         Height          =   255
         Left            =   120
         TabIndex        =   1
         Top             =   300
         Width           =   1035
      End
   End
   Begin VB.Label lblTotal 
      Alignment       =   1  'Right Justify
      Caption         =   "0,00 €"
      BeginProperty Font 
         Name            =   "Tahoma"
         Size            =   8.25
         Charset         =   0
         Weight          =   700
         Underline       =   0   'False
         Italic          =   0   'False
         Strikethrough   =   0   'False
      EndProperty
      Height          =   255
      Left            =   120
      TabIndex        =   13
      Top             =   4350
      Width           =   4335
   End
End
Attribute VB_Name = "frmMain"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
' Fenêtre principale : saisie des clients et liste triée par nom.
Option Explicit

Private mCustomers As Collection
Private WithEvents mCurrent As clsCustomer
Attribute mCurrent.VB_VarHelpID = -1

Private Sub Form_Load()
    Set mCustomers = New Collection
    Me.Caption = APP_TITLE
    Me.Left = Val(ReadSetting("Fenêtre", "Gauche", CStr(Me.Left)))
    Me.Top = Val(ReadSetting("Fenêtre", "Haut", CStr(Me.Top)))
    lblTotal.Caption = FormatAmount(0)
    LogMessage "Démarrage de " & App.EXEName
End Sub

' Crée un client à partir des champs saisis et l'ajoute à la liste.
Private Sub cmdAdd_Click()
    Dim customerName As String
    Dim postal As tAddress
    Dim orderAmount As Currency

    customerName = Trim$(txtName.Text)
    If Len(customerName) = 0 Then
        MsgBox "Le nom du client est obligatoire.", vbExclamation, APP_TITLE
        txtName.SetFocus
        Exit Sub
    End If
    If CountWords(customerName) < 2 Then
        If MsgBox("Saisir aussi le prénom ?", vbQuestion + vbYesNo, APP_TITLE) = vbYes Then Exit Sub
    End If
    If IsNumeric(txtAmount.Text) Then orderAmount = CCur(txtAmount.Text) Else orderAmount = 0
    postal.ZipCode = Trim$(txtZip.Text)
    postal.City = Trim$(txtCity.Text)

    Set mCurrent = New clsCustomer
    mCurrent.Name = customerName
    mCurrent.Address = postal
    mCurrent.AddOrder orderAmount
    mCustomers.Add mCurrent
    RefreshList
    txtName.Text = ""
    txtAmount.Text = ""
End Sub

' Supprime le client sélectionné.
Private Sub cmdRemove_Click()
    Dim i As Long

    If lstCustomers.ListIndex < 0 Then Exit Sub
    For i = mCustomers.Count To 1 Step -1
        If mCustomers(i).Id = lstCustomers.ItemData(lstCustomers.ListIndex) Then
            mCustomers.Remove i
            Exit For
        End If
    Next i
    RefreshList
End Sub

Private Sub cmdClose_Click()
    ' Rien à protéger ici. %No Manage Error%
    Unload Me
End Sub

Private Sub lstCustomers_DblClick()
    If lstCustomers.ListIndex >= 0 Then ShowCustomer lstCustomers.ListIndex
End Sub

Private Sub lstCustomers_KeyDown(KeyCode As Integer, Shift As Integer)
    Select Case KeyCode
        Case vbKeyDelete
            cmdRemove_Click
        Case vbKeyReturn, vbKeySpace
            If lstCustomers.ListIndex >= 0 Then ShowCustomer lstCustomers.ListIndex
        Case vbKeyF5
            RefreshList
        Case Else
            ' Les autres touches gardent leur effet habituel.
    End Select
End Sub

' Remplit la liste, triée par nom sans tenir compte des accents,
' et met à jour le total en euros.
Private Sub RefreshList()
    Dim order() As Long
    Dim i As Long, j As Long, tmp As Long
    Dim total As Currency

    lstCustomers.Clear
    lblTotal.Caption = FormatAmount(0)
    If mCustomers.Count = 0 Then Exit Sub
    ReDim order(1 To mCustomers.Count)
    For i = 1 To mCustomers.Count
        order(i) = i
    Next i
    For i = 1 To mCustomers.Count - 1
        For j = i + 1 To mCustomers.Count
            If StrComp(RemoveAccents(mCustomers(order(j)).Name), _
                       RemoveAccents(mCustomers(order(i)).Name), vbTextCompare) < 0 Then
                tmp = order(i): order(i) = order(j): order(j) = tmp
            End If
        Next j
    Next i
    For i = 1 To mCustomers.Count
        With mCustomers(order(i))
            lstCustomers.AddItem .Name & vbTab & FormatAmount(.Balance)
            lstCustomers.ItemData(lstCustomers.NewIndex) = .Id
            total = total + .Balance
        End With
    Next i
    lblTotal.Caption = FormatAmount(total)
End Sub

' Affiche la fiche du client de la ligne Index.
Private Sub ShowCustomer(ByVal Index As Long)
    Dim customer As clsCustomer
    Dim postal As tAddress
    Dim info As String

    For Each customer In mCustomers
        If customer.Id = lstCustomers.ItemData(Index) Then Exit For
    Next customer
    If customer Is Nothing Then Exit Sub
    info = customer.Describe()
    postal = customer.Address
    If Len(postal.City) > 0 Then info = info & vbCrLf & FormatAddress(postal)
    MsgBox info, vbInformation, APP_TITLE
End Sub

Private Sub mCurrent_NameChanged(ByVal OldName As String)
    If Len(OldName) > 0 Then LogMessage "Client renommé : " & OldName & " devient " & mCurrent.Name
End Sub

Private Sub Form_QueryUnload(Cancel As Integer, UnloadMode As Integer)
    Select Case UnloadMode
        Case vbFormControlMenu, vbFormCode
            If mCustomers.Count > 0 Then
                If MsgBox("Quitter et perdre la liste des clients ?", vbQuestion + vbYesNo, APP_TITLE) = vbNo Then Cancel = True
            End If
        Case vbAppWindows
            ' Windows se ferme : pas de question.
    End Select
End Sub

Private Sub Form_Unload(Cancel As Integer)
#If DEBUG_MODE Then
    DumpCustomers mCustomers
#End If
    Set mCurrent = Nothing
    Set mCustomers = Nothing
End Sub
