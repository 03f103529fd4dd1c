SELECT [Service], "ServiceID" /* a /* nested */ comment */ FROM Build_File..tbcoService -- end
WHERE ServiceID = 'S1'