// A stand-in program's only source.
int main()
{
    return 0;
}
