SELECT [it's], "a'b" FROM t -- don't
 WHERE x = 'O''Brien' /* 'no' */ AND y=N'kept' AND z = ''