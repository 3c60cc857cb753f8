// Compile errors are reported with their lines; nothing of the script runs.
const Limit = 10;
var i: Integer;
var s: String;
WriteLn('never runs');
i := Unknown + 1;          // expect error: undeclared identifier: 'Unknown'
Limit := 5;                // expect error: cannot assign to a constant: 'Limit'
i := 'text';               // expect error: incompatible types: 'Integer' and 'String'
s := Copy('abc');          // expect error: not enough actual parameters
s := IntToStr(1, 2);       // expect error: too many actual parameters
Break;                     // expect error: Break outside a loop
i := s * 2;                // expect error: incompatible types: 'String' and 'Integer'
var set1 := [1, 2];        // expect error: the variable needs a type
Limit;                     // expect error: statement expected, but expression found
raise 5;                   // expect error: an exception object is expected after raise
