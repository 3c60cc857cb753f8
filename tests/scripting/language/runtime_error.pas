// A run-time error stops the run; what ran before it stays done.
var a: array [1..3] of Integer;
var i: Integer;
WriteLn('start');          // expect: start
i := 4;
a[i] := 1;                 // expect runtime error: Range check error
WriteLn('never');
