var a = 1 ;
var x = 1; /* c */ var y = 2;
a = b; // note
c = d;
if (a)
{
  b();
}
