/*Error:-cr-
Success:-cr+
*/
// Whether a case label may name a range (case 1 ... 3:).
int kx_f(int kx_x)
{
    switch (kx_x) {
    case 1 ... 3: return 1;
    default: return 0;
    }
}
