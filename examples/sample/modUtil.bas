Attribute VB_Name = "modUtil"
' Fonctions communes du projet : textes, montants en €, fichier .ini et journal.
Option Explicit

Public Const APP_TITLE As String = "Gestion des clients"
Public Const CURRENCY_SIGN As String = "€"
Private Const LOG_FILE As String = "journal.log"

' Lecture d'une valeur dans le fichier .ini (API Windows).
Private Declare Function GetPrivateProfileString Lib "kernel32" _
    Alias "GetPrivateProfileStringA" (ByVal lpApplicationName As String, _
    ByVal lpKeyName As String, ByVal lpDefault As String, _
    ByVal lpReturnedString As String, ByVal nSize As Long, _
    ByVal lpFileName As String) As Long

' Adresse postale d'un client.
Public Type tAddress
    Street As String
    ZipCode As String
    City As String
End Type

' Enlève les accents courants (é, è, à, ç, ü...) pour trier et comparer
' les noms sans tenir compte de la façon dont ils ont été saisis.
Public Function RemoveAccents(ByVal Text As String) As String
    Dim i As Long
    Dim ch As String

    For i = 1 To Len(Text)
        ch = Mid$(Text, i, 1)
        Select Case ch
            Case "é", "è", "ê", "ë": ch = "e"
            Case "É", "È": ch = "E"
            Case "à", "â": ch = "a"
            Case "ç": ch = "c"
            Case "Ç": ch = "C"
            Case "ü", "û", "ù": ch = "u"
        End Select
        RemoveAccents = RemoveAccents & ch
    Next i
End Function

' Met en forme un montant en euros, par exemple _
  1234,5 devient "1 234,50 €".
Public Function FormatAmount(ByVal Amount As Currency) As String
    If Amount < 0 Then FormatAmount = "-": Amount = -Amount
    FormatAmount = FormatAmount & Format$(Amount, "#,##0.00") & " " & CURRENCY_SIGN
End Function

' Nombre de mots d'un texte ; plusieurs blancs de suite comptent pour un.
Public Function CountWords(ByVal Text As String) As Long
    Dim pos As Long
    Dim words As Long

    Text = Trim$(Text)
    If Len(Text) = 0 Then Exit Function
    words = 1
    pos = InStr(Text, " ")
    While pos > 0
        words = words + 1
        Do While Mid$(Text, pos + 1, 1) = " "
            pos = pos + 1
        Loop
        pos = InStr(pos + 1, Text, " ")
    Wend
    CountWords = words
End Function

' Vérifie un code postal français : cinq chiffres, rien d'autre.
Public Function IsValidZipCode(ByVal ZipCode As String) As Boolean
    Dim i As Integer

    If Len(ZipCode) <> 5 Then GoTo Invalid
    For i = 1 To 5
        If InStr("0123456789", Mid$(ZipCode, i, 1)) = 0 Then GoTo Invalid
    Next i
    IsValidZipCode = True
    Exit Function

Invalid:
    Debug.Print "Code postal refusé : "; ZipCode
End Function

' Adresse sur deux lignes, prête pour une étiquette.
Public Function FormatAddress(Address As tAddress) As String
    With Address
        FormatAddress = .Street & vbCrLf & .ZipCode & " " & UCase$(.City)
        If Not IsValidZipCode(.ZipCode) Then FormatAddress = FormatAddress & " (?)"
    End With
End Function

' Lit une valeur du fichier .ini de l'application ; DefaultValue si elle manque.
Public Function ReadSetting(ByVal Section As String, ByVal Key As String, _
                            Optional ByVal DefaultValue As String = "") As String
    Dim buffer As String
    Dim size As Long
    Dim length As Long

    size = 128
    Do
        buffer = String$(size, vbNullChar)
        length = GetPrivateProfileString(Section, Key, DefaultValue, buffer, size, IniPath())
        If length < size - 1 Then Exit Do
        size = size * 2
    Loop While size <= 32768
    ReadSetting = Left$(buffer, length)
End Function

' Chemin du fichier .ini, à côté de l'exécutable.
Private Function IniPath() As String
    IniPath = App.Path
    If Right$(IniPath, 1) <> "\" Then IniPath = IniPath & "\"
    IniPath = IniPath & App.EXEName & ".ini"
End Function

' Numéro suivant ; la dernière valeur est gardée d'un appel à l'autre
' et repart du dernier numéro enregistré au premier appel.
Private Static Function NextId() As Long
    Dim lastId As Long

    If lastId = 0 Then lastId = Val(ReadSetting("Clients", "DernierNuméro", "0"))
    lastId = lastId + 1
    NextId = lastId
End Function

' Identifiant d'un nouveau client.
Public Function NewCustomerId() As Long
    NewCustomerId = NextId()
    LogMessage "Nouveau client n° " & NewCustomerId
End Function

#If DEBUG_MODE Then
' Liste tous les clients dans la fenêtre Exécution.
Public Sub DumpCustomers(ByVal Customers As Collection)
    Dim customer As clsCustomer

    Debug.Print "--- "; Customers.Count; " client(s) ---"
    For Each customer In Customers
        Debug.Print customer.Id, customer.Name, FormatAmount(customer.Balance)
    Next customer
End Sub
#End If

' Trace un message : fenêtre Exécution pendant la mise au point,
' journal à côté de l'exécutable une fois compilé.
Static Sub LogMessage(ByVal Message As String)
    Dim messageCount As Long

    messageCount = messageCount + 1
#If DEBUG_MODE Then
    Debug.Print Format$(Now, "hh:nn:ss"); messageCount; Message
#Else
    WriteLogLine CStr(messageCount) & vbTab & Message
#End If
End Sub

' Ajoute une ligne datée au journal de l'application.
Private Sub WriteLogLine(ByVal Message As String)
    Dim fileNo As Integer

    fileNo = FreeFile
    Open App.Path & "\" & LOG_FILE For Append As #fileNo
    Print #fileNo, Format$(Now, "yyyy-mm-dd hh:nn:ss"); " "; Message
    Close #fileNo
End Sub

' À faire : faire tourner le journal quand il dépasse 1 Mo.

