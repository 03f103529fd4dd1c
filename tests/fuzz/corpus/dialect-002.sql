/* worklist */ SELECT N'O''Brien' AS [a]]b], "IDNum" -- id
FROM Patient_Data.dbo.tbPatient WITH (NOLOCK, READUNCOMMITTED);