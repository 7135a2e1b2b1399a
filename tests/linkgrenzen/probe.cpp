// Linked against one library and nothing else: the program's dynamic
// dependencies are then exactly what that library pulls in.
int main()
{
    return 0;
}
