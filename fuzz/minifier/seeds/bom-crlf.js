function f(a){return a/2/z;}
