// Numbers: rounding, conversions and functions.
WriteLn(Round(2.5), ' ', Round(3.5), ' ', Round(-2.5), ' ', Round(2.6));  // expect: 2 4 -2 3
WriteLn(Trunc(2.9), ' ', Trunc(-2.9), ' ', Int(-2.9), ' ', Frac(2.25));  // expect: 2 -2 -2 0,25
WriteLn(Abs(-3), ' ', Abs(-2.5), ' ', Sqr(4), ' ', Sqr(1.5));             // expect: 3 2,5 16 2,25
WriteLn(Min(3, 4), ' ', Max(3, 4.5), ' ', Sqrt(16), ' ', Power(2, 10));   // expect: 3 4,5 4 1024
WriteLn(FloatToStr(1/3), ' ', FloatToStr(1e20), ' ', FloatToStr(0.1 + 0.2));  // expect: 0,333333333333333 1E20 0,3
WriteLn(StrToInt('-42') + 1, ' ', StrToIntDef('x', 7), ' ', StrToInt('$10'));  // expect: -41 7 16
WriteLn(StrToFloat('1,5') + StrToFloat('2.5'), ' ', StrToFloatDef('?', -1));  // expect: 4 -1
WriteLn(Succ(5), ' ', Pred(5), ' ', Exp(0), ' ', Ln(1), ' ', Sin(0), ' ', Cos(0));  // expect: 6 4 1 0 0 1
var i: Integer;
i := 5;
Inc(i);
Inc(i, 10);
Dec(i, 3);
WriteLn(i);                                // expect: 13
var f: Float;
f := i;                                    // integers widen to floats
WriteLn(f / 2);                            // expect: 6,5
