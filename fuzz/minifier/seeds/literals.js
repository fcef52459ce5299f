x = a.replace( / +/g, "");
r = /[/\]]+\//;
s = 'it\'s' + "a  b" + `t ${ 1 }`;
a + ++b; a - -b;
