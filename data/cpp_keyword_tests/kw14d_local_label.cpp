/*Error:
Success:int
*/
// A declaration of labels local to a block. Declaring the names as int keeps the block
// well-formed for the analyser: labels live in a name space of their own.
int kx_f()
{
    XXX kx_l;
    goto kx_l;
kx_l:
    return 0;
}
