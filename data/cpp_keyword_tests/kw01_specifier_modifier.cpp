/*Error:
Success:
*/
// A word that combines with int and char like signed, const or volatile. It comes first:
// such a word is dropped or, when it is a spelling of a standard keyword, mapped onto it,
// and must not be taken for a type of its own.
XXX int kx_a = 0;
XXX char kx_b = 0;
