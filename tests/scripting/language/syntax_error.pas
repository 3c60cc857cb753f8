// A syntax error names the token it met.
var i: Integer;
i := (1 + ;                // expect error: expression expected near ';'
