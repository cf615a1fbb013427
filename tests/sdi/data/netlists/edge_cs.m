tsim = 1.0000e-03
td = 1.0000e-06
points = 9999999
% Circuit name : /home/user/cs

% Circuit Description
X = [ 'V1        1   0   5.0000e+00                 '   % V1
      'Vc1       1   2   0.0000e+00                 '  
      'Fc1       0   3   1.0000e+00     Vc1         '  
      'R1        2   0   1.0000e+01                 '   % R1
      'R2        3   0   1.0000e+00                 '   % R2
      'I01       3   0   0.0000e+00                 ' ] % Vs

% Output Description
Y = [ 'V         I01                                ' ] % Vs

% Number of nodes
numn = 4;
