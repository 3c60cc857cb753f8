// Tokens that cannot start anything are reported, and parsing goes on.
var i: Integer;
end;                       // expect error: near 'end'
i := 1;
until;                     // expect error: near 'until'
