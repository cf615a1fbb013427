tsim = 1.0000e-03
td = 1.0000e-06
points = 9999999
tmd = [ 1.0000e-04     1.0000e+05     2   1    ]
vgs = [ 3.0000e+00       
        5.0000e-01      ]
% Circuit name : /home/user/pairs

% Circuit Description
X = [ 'I1        0   1   5.0000e-01                 '   % I1
      'V1        2   0   1.0000e+00                 '   % V1
      'R1        1   2   1.0000e+00                 '   % R1
      'I01       1   0   0.0000e+00                 ' ] % Vo

% Output Description
Y = [ 'V         I01                                ' ] % Vo

% Number of nodes
numn = 3;
