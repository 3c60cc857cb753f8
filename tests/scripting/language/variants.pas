// Variants: conversions, Null and Unassigned, variant arrays.
var v, w: Variant;
var i: Integer;
var s: String;
v := 5;
w := '7';
WriteLn(v + w, ' ', VarType(v), ' ', VarType(w) = varString);  // expect: 12 3 True
v := 'abc';
w := 'def';
WriteLn(v + w);                        // expect: abcdef
v := 2.5;
i := v;                                // rounds as Round does
WriteLn(i, ' ', VarType(v));           // expect: 2 5
v := Null;
WriteLn(VarIsNull(v), ' ', VarIsEmpty(Unassigned), ' ', VarToStr(v) = '');  // expect: True True True
v := VarArrayCreate(1, 3);
WriteLn(VarArrayLowBound(v), ' ', VarArrayHighBound(v), ' ', VarIsArray(v));  // expect: 1 3 True
VarArraySetItem(v, 2, 'two');
VarArraySetItem(v, 9, 'ignored');
w := VarArrayGetItem(v, 4);
WriteLn(VarArrayGetItem(v, 2), ' ', VarIsEmpty(w));  // expect: two True
s := v[2];
WriteLn(s);                            // expect: two
v := True;
WriteLn(v and False, ' ', VarType(v) = varBoolean);  // expect: False True
v := 10;
WriteLn(v > 9, ' ', v = '10', ' ', v div 3);  // expect: True True 3
