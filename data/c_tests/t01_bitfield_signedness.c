/*Error:
Success:
Execute */
/* Whether a plain int bit-field is signed: the program prints -bitsu- when it is, -bitsu+ when
   the compiler makes it unsigned. */
#include <stdio.h>
struct kx_s { int kx_b : 2; };
int main(void)
{
    struct kx_s kx_v;
    kx_v.kx_b = -1;
    printf("%s", kx_v.kx_b < 0 ? "-bitsu-" : "-bitsu+");
    return 0;
}
