// A classic program with uses, comments of every kind and a main block.
program Demo;
uses SysUtils, Classes;
{ a brace comment }
(* an old-style
   comment *)
var
  total: Integer; // a line comment
begin
  total := 0;
  {$R+}
  total := total + 1;
  WriteLn(total);          // expect: 1
end.
this text after the final end is not read
